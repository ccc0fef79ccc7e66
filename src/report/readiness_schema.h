// The readiness report's JSON schema (docs/readiness-schema.json), built into the program so that it checks
// reports against the very file the documentation shows.
#pragma once

#include <string_view>

std::string_view ReadinessSchemaText();
