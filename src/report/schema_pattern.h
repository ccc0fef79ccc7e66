// The regular expressions a JSON schema's "pattern" may hold, in the small form our schema uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A pattern of ASCII literals and bracket classes ("[0-9]", "[A-Fa-f]", "[^/]"), each followed
// by an optional quantifier ("{4}", "{1,3}", "{2,}", "?", "*", "+"), between an optional "^"
// and "$". Unanchored ends match anywhere, as JSON schema's patterns do. Alternation, groups
// and "." are not in it: a schema that needs them is refused when it is read, never half-checked.
class SchemaPattern {
 public:
  // False, with `error` saying what is not in the form, when `pattern` can't be read.
  bool Parse(std::string_view pattern, std::string* error);
  bool Matches(std::string_view text) const;

 private:
  struct Atom {
    bool negated = false;
    std::vector<std::pair<unsigned char, unsigned char>> ranges;  // a literal is a range of one
    std::size_t min = 1;
    std::size_t max = 1;  // kUnbounded for no upper bound
  };
  static constexpr std::size_t kUnbounded = static_cast<std::size_t>(-1);

  bool AtomMatches(const Atom& atom, unsigned char c) const;
  bool MatchFrom(std::size_t atom, std::string_view text, std::size_t at) const;

  std::vector<Atom> atoms_;
  bool anchoredStart_ = false;
  bool anchoredEnd_ = false;
};
