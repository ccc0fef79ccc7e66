// A JSON schema (draft 2020-12) of the keywords our report's schema uses, read once and applied to many documents.
#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/schema_pattern.h"

// Keywords applied: type, const, enum, required, properties, additionalProperties,
// propertyNames, items, prefixItems, minItems, maxItems, uniqueItems, minimum, pattern and
// $ref to "#/$defs/NAME"; $schema, $id, $defs, $comment, title, description, default and
// examples are read as notes. Any other keyword makes Load fail, so that a schema grown beyond
// this subset is caught by the test that loads ours, never checked only in part.
class JsonSchema {
 public:
  // False, with `error` naming the place and the reason, when `text` is no schema of this subset.
  bool Load(std::string_view text, std::string* error);
  // True when `document` follows the schema; otherwise false, with `problem` naming the first
  // place at fault as a JSON pointer and what is wrong there ("/run/stage: is not one of 1, 2").
  bool Validate(const nlohmann::json& document, std::string* problem) const;

 private:
  // The "type" names, one bit each.
  static constexpr unsigned kNull = 1, kBoolean = 2, kObject = 4, kArray = 8, kNumber = 16, kString = 32, kInteger = 64;
  enum class Extra { Allowed, Refused, Checked };
  struct Node {
    unsigned types = 0;  // 0: any type
    std::optional<nlohmann::json> constant;
    std::optional<std::vector<nlohmann::json>> choices;
    std::vector<std::string> required;
    std::map<std::string, int, std::less<>> properties;
    Extra extra = Extra::Allowed;
    int extraNode = -1;
    int propertyNames = -1;
    int items = -1;
    std::vector<int> prefixItems;
    std::optional<std::size_t> minItems;
    std::optional<std::size_t> maxItems;
    bool uniqueItems = false;
    std::optional<double> minimum;
    std::optional<SchemaPattern> pattern;
    int ref = -1;
  };

  // Each returns false with `error` set; `where` is the keyword path in the schema, for the error.
  bool Compile(const nlohmann::json& schema, const std::string& where, int* node, std::string* error);
  bool CompileKeyword(const std::string& keyword, const nlohmann::json& value, const std::string& where, Node* node,
                      std::string* error);
  bool Check(int node, const nlohmann::json& value, const std::string& pointer, std::string* problem) const;
  bool CheckObject(const Node& node, const nlohmann::json& value, const std::string& pointer,
                   std::string* problem) const;
  bool CheckArray(const Node& node, const nlohmann::json& value, const std::string& pointer,
                  std::string* problem) const;

  std::vector<Node> nodes_;
  std::map<std::string, int, std::less<>> definitions_;
  int root_ = -1;
};
