// A JSON schema (draft 2020-12) of the keywords our report's schema uses, read once and applied to many documents.
#include "report/json_schema.h"

#include <cmath>
#include <utility>

using Json = nlohmann::json;

namespace {
constexpr std::string_view kDefinitionsRef = "#/$defs/";

// Keywords that only describe; a validator reads past them.
bool IsNote(std::string_view keyword) {
  for (const std::string_view note : {"$schema", "$id", "$comment", "title", "description", "default", "examples"}) {
    if (keyword == note) return true;
  }
  return false;
}

// A member name as a JSON pointer writes it.
std::string PointerToken(const std::string& name) {
  std::string token;
  for (const char c : name) {
    if (c == '~') {
      token += "~0";
    } else if (c == '/') {
      token += "~1";
    } else {
      token += c;
    }
  }
  return token;
}

std::string Located(const std::string& pointer, const std::string& what) {
  return (pointer.empty() ? std::string("(the document)") : pointer) + ": " + what;
}

std::string Choices(const std::vector<Json>& choices) {
  std::string text;
  for (const Json& choice : choices) text += (text.empty() ? "" : ", ") + choice.dump();
  return text;
}

bool IsCount(const Json& value) { return value.is_number_unsigned() || (value.is_number_integer() && value >= 0); }
}  // namespace

bool JsonSchema::Load(std::string_view text, std::string* error) {
  nodes_.clear();
  definitions_.clear();
  root_ = -1;
  const Json schema = Json::parse(text, nullptr, false);
  if (schema.is_discarded() || !schema.is_object()) {
    *error = "the schema is no JSON object";
    return false;
  }
  // Definitions first, each given its place before any is read, so that a $ref finds one defined below it.
  if (const auto defs = schema.find("$defs"); defs != schema.end()) {
    if (!defs->is_object()) {
      *error = "/$defs: is no object";
      return false;
    }
    for (const auto& [name, definition] : defs->items()) {
      definitions_.emplace(name, static_cast<int>(nodes_.size()));
      nodes_.emplace_back();
    }
    for (const auto& [name, definition] : defs->items()) {
      int compiled = -1;
      if (!Compile(definition, "/$defs/" + PointerToken(name), &compiled, error)) return false;
      nodes_[static_cast<std::size_t>(definitions_.find(name)->second)] = nodes_[static_cast<std::size_t>(compiled)];
    }
  }
  return Compile(schema, "", &root_, error);
}

bool JsonSchema::Compile(const Json& schema, const std::string& where, int* node, std::string* error) {
  if (schema.is_boolean()) {
    // true allows anything; false nothing, which this subset has only as additionalProperties.
    if (!schema.get<bool>()) {
      *error = where + ": the schema false is supported only as additionalProperties";
      return false;
    }
    *node = static_cast<int>(nodes_.size());
    nodes_.emplace_back();
    return true;
  }
  if (!schema.is_object()) {
    *error = where + ": is no schema";
    return false;
  }
  // The node is built aside: compiling its parts adds nodes, which moves the list.
  const int index = static_cast<int>(nodes_.size());
  nodes_.emplace_back();
  Node built;
  for (const auto& [keyword, value] : schema.items()) {
    if (IsNote(keyword) || (keyword == "$defs" && where.empty())) continue;
    if (!CompileKeyword(keyword, value, where + "/" + PointerToken(keyword), &built, error)) return false;
  }
  nodes_[static_cast<std::size_t>(index)] = std::move(built);
  *node = index;
  return true;
}

bool JsonSchema::CompileKeyword(const std::string& keyword, const Json& value, const std::string& where, Node* node,
                                std::string* error) {
  const auto fail = [&](const std::string& what) {
    *error = where + ": " + what;
    return false;
  };
  if (keyword == "type") {
    const std::pair<std::string_view, unsigned> names[] = {
        {"null", kNull},     {"boolean", kBoolean}, {"object", kObject},  {"array", kArray},
        {"number", kNumber}, {"string", kString},   {"integer", kInteger}};
    const Json list = value.is_array() ? value : Json::array({value});
    for (const Json& name : list) {
      unsigned bit = 0;
      for (const auto& [typeName, typeBit] : names) {
        if (name.is_string() && name.get_ref<const std::string&>() == typeName) bit = typeBit;
      }
      if (bit == 0) return fail("names no type");
      node->types |= bit;
    }
    return true;
  }
  if (keyword == "const") {
    node->constant = value;
    return true;
  }
  if (keyword == "enum") {
    if (!value.is_array() || value.empty()) return fail("is no list of values");
    node->choices = value.get<std::vector<Json>>();
    return true;
  }
  if (keyword == "required") {
    if (!value.is_array()) return fail("is no list of names");
    for (const Json& name : value) {
      if (!name.is_string()) return fail("is no list of names");
      node->required.push_back(name.get<std::string>());
    }
    return true;
  }
  if (keyword == "properties") {
    if (!value.is_object()) return fail("is no object");
    for (const auto& [name, schema] : value.items()) {
      int compiled = -1;
      if (!Compile(schema, where + "/" + PointerToken(name), &compiled, error)) return false;
      node->properties[name] = compiled;
    }
    return true;
  }
  if (keyword == "additionalProperties") {
    if (value.is_boolean()) {
      node->extra = value.get<bool>() ? Extra::Allowed : Extra::Refused;
      return true;
    }
    node->extra = Extra::Checked;
    return Compile(value, where, &node->extraNode, error);
  }
  if (keyword == "propertyNames") return Compile(value, where, &node->propertyNames, error);
  if (keyword == "items") return Compile(value, where, &node->items, error);
  if (keyword == "prefixItems") {
    if (!value.is_array()) return fail("is no list of schemas");
    for (std::size_t i = 0; i < value.size(); ++i) {
      int compiled = -1;
      if (!Compile(value[i], where + "/" + std::to_string(i), &compiled, error)) return false;
      node->prefixItems.push_back(compiled);
    }
    return true;
  }
  if (keyword == "minItems" || keyword == "maxItems") {
    if (!IsCount(value)) return fail("is no count");
    (keyword == "minItems" ? node->minItems : node->maxItems) = value.get<std::size_t>();
    return true;
  }
  if (keyword == "uniqueItems") {
    if (!value.is_boolean()) return fail("is neither true nor false");
    node->uniqueItems = value.get<bool>();
    return true;
  }
  if (keyword == "minimum") {
    if (!value.is_number()) return fail("is no number");
    node->minimum = value.get<double>();
    return true;
  }
  if (keyword == "pattern") {
    if (!value.is_string()) return fail("is no text");
    std::string why;
    if (!node->pattern.emplace().Parse(value.get<std::string>(), &why)) return fail("is outside this subset: " + why);
    return true;
  }
  if (keyword == "$ref") {
    const auto found = value.is_string() && value.get<std::string>().rfind(kDefinitionsRef, 0) == 0
                           ? definitions_.find(value.get<std::string>().substr(kDefinitionsRef.size()))
                           : definitions_.end();
    if (found == definitions_.end()) return fail("names no definition under #/$defs");
    node->ref = found->second;
    return true;
  }
  return fail("is a keyword this subset does not apply");
}

bool JsonSchema::Validate(const Json& document, std::string* problem) const {
  return root_ >= 0 && Check(root_, document, "", problem);
}

bool JsonSchema::Check(int index, const Json& value, const std::string& pointer, std::string* problem) const {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.ref >= 0 && !Check(node.ref, value, pointer, problem)) return false;
  if (node.types != 0) {
    const bool integral = value.is_number_integer() ||
                          (value.is_number_float() && std::floor(value.get<double>()) == value.get<double>());
    const unsigned found = (value.is_null() ? kNull : 0) | (value.is_boolean() ? kBoolean : 0) |
                           (value.is_object() ? kObject : 0) | (value.is_array() ? kArray : 0) |
                           (value.is_number() ? kNumber : 0) | (integral ? kInteger : 0) |
                           (value.is_string() ? kString : 0);
    if ((found & node.types) == 0) {
      *problem = Located(pointer, "is " + std::string(value.type_name()) + ", not of the type the schema names");
      return false;
    }
  }
  if (node.constant && value != *node.constant) {
    *problem = Located(pointer, "is not " + node.constant->dump());
    return false;
  }
  if (node.choices) {
    bool chosen = false;
    for (const Json& choice : *node.choices) chosen = chosen || value == choice;
    if (!chosen) {
      *problem = Located(pointer, "is not one of " + Choices(*node.choices));
      return false;
    }
  }
  if (node.pattern && value.is_string() && !node.pattern->Matches(value.get_ref<const std::string&>())) {
    *problem = Located(pointer, "does not have the form the schema's pattern gives");
    return false;
  }
  if (node.minimum && value.is_number() && value.get<double>() < *node.minimum) {
    *problem = Located(pointer, "is below " + Json(*node.minimum).dump());
    return false;
  }
  if (value.is_object()) return CheckObject(node, value, pointer, problem);
  if (value.is_array()) return CheckArray(node, value, pointer, problem);
  return true;
}

bool JsonSchema::CheckObject(const Node& node, const Json& value, const std::string& pointer,
                             std::string* problem) const {
  for (const std::string& name : node.required) {
    if (!value.contains(name)) {
      *problem = Located(pointer, "lacks \"" + name + "\"");
      return false;
    }
  }
  for (const auto& [name, member] : value.items()) {
    const std::string at = pointer + "/" + PointerToken(name);
    if (node.propertyNames >= 0 && !Check(node.propertyNames, Json(name), at, problem)) return false;
    if (const auto property = node.properties.find(name); property != node.properties.end()) {
      if (!Check(property->second, member, at, problem)) return false;
    } else if (node.extra == Extra::Refused) {
      *problem = Located(pointer, "holds \"" + name + "\", which the schema does not allow");
      return false;
    } else if (node.extra == Extra::Checked && !Check(node.extraNode, member, at, problem)) {
      return false;
    }
  }
  return true;
}

bool JsonSchema::CheckArray(const Node& node, const Json& value, const std::string& pointer,
                            std::string* problem) const {
  if (node.minItems && value.size() < *node.minItems) {
    *problem = Located(
        pointer, "holds " + std::to_string(value.size()) + " items, fewer than " + std::to_string(*node.minItems));
    return false;
  }
  if (node.maxItems && value.size() > *node.maxItems) {
    *problem = Located(pointer,
                       "holds " + std::to_string(value.size()) + " items, more than " + std::to_string(*node.maxItems));
    return false;
  }
  for (std::size_t i = 0; i < value.size(); ++i) {
    const int schema = i < node.prefixItems.size() ? node.prefixItems[i] : node.items;
    if (schema >= 0 && !Check(schema, value[i], pointer + "/" + std::to_string(i), problem)) return false;
    for (std::size_t earlier = 0; node.uniqueItems && earlier < i; ++earlier) {
      if (value[earlier] == value[i]) {
        *problem = Located(pointer, "holds " + value[i].dump() + " twice");
        return false;
      }
    }
  }
  return true;
}
