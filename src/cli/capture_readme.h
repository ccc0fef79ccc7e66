// The README a capture leaves in its folder: what was captured, and how to rehearse it.
#pragma once

#include <string>
#include <vector>

// How to rehearse the capture in the folder named `folderName`, for the AutoStart domain `domain`
// (empty when the answers hold no valid one): the lines docs/capture.md shows for "site-capture"
// and "ha1", word for word, so that following either is following both.
std::vector<std::wstring> CaptureRehearsalLines(const std::wstring& folderName, const std::wstring& domain);
