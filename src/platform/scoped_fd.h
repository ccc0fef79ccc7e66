// Owns a POSIX file descriptor and closes it on every path: the holder of the Linux-only files.
#pragma once

#include <unistd.h>

#include "common/unique_handle.h"
#include "platform/descriptor_traits.h"

using ScopedFd = UniqueHandle<DescriptorTraits<::close>>;
