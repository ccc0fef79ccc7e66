// The shape test for an address the user typed in dotted form.
#pragma once

#include <string>

// True when `text` has three dots, a digit in each of the first three pieces, and a digit in
// what follows the third dot (further dots there are allowed). Only the shape is tested: no
// range, no leading-zero rule, no trimming, so "300.1.1.1" and "1x.2y.3z.4w" pass.
bool IsValidIPAddress(std::wstring text);
