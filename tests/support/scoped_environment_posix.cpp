// An environment variable of this process set for a scope: setenv and unsetenv.
#include <cstdlib>

#include "support/scoped_environment.h"

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value) : name_(name) {
  setenv(name, value, 1);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { unsetenv(name_); }
