// An environment variable of this process set for a scope: _putenv_s, which the C runtime's getenv reads.
#include <cstdlib>

#include "support/scoped_environment.h"

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value) : name_(name) {
  _putenv_s(name, value);
}

// An empty value removes the variable.
ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { _putenv_s(name_, ""); }
