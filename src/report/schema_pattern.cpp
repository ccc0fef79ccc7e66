// The regular expressions a JSON schema's "pattern" may hold, in the small form our schema uses.
#include "report/schema_pattern.h"

#include <cctype>

namespace {
// A number of a "{n,m}" quantifier; false when there is none at `at`.
bool ReadCount(std::string_view pattern, std::size_t* at, std::size_t* count) {
  const std::size_t start = *at;
  *count = 0;
  while (*at < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[*at])) != 0) {
    *count = *count * 10 + static_cast<std::size_t>(pattern[*at] - '0');
    if (*count > 10000) return false;
    ++*at;
  }
  return *at > start;
}

// The character after a backslash stands for itself only when it is no letter or digit (\d, \w
// and \1 mean more than that).
bool ReadEscaped(std::string_view pattern, std::size_t* at, unsigned char* c) {
  if (*at + 1 >= pattern.size() || std::isalnum(static_cast<unsigned char>(pattern[*at + 1])) != 0) return false;
  *c = static_cast<unsigned char>(pattern[*at + 1]);
  *at += 2;
  return true;
}
}  // namespace

bool SchemaPattern::Parse(std::string_view pattern, std::string* error) {
  atoms_.clear();
  anchoredStart_ = anchoredEnd_ = false;
  std::size_t at = 0;
  if (at < pattern.size() && pattern[at] == '^') {
    anchoredStart_ = true;
    ++at;
  }
  while (at < pattern.size()) {
    const char c = pattern[at];
    if (c == '$' && at + 1 == pattern.size()) {
      anchoredEnd_ = true;
      break;
    }
    Atom atom;
    if (c == '[') {
      ++at;
      if (at < pattern.size() && pattern[at] == '^') {
        atom.negated = true;
        ++at;
      }
      bool readable = true;
      while (readable && at < pattern.size() && pattern[at] != ']') {
        unsigned char first = static_cast<unsigned char>(pattern[at]);
        if (first == '\\') {
          readable = ReadEscaped(pattern, &at, &first);
        } else {
          ++at;
        }
        unsigned char last = first;
        if (readable && at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
          last = static_cast<unsigned char>(pattern[at + 1]);
          at += 2;
          readable = last >= first;
        }
        atom.ranges.emplace_back(first, last);
      }
      if (!readable || at >= pattern.size() || pattern[at] != ']' || atom.ranges.empty()) {
        *error = "a bracket class that is empty, unclosed or holds an escape or range this form lacks";
        return false;
      }
      ++at;
    } else if (c == '\\') {
      unsigned char literal = 0;
      if (!ReadEscaped(pattern, &at, &literal)) {
        *error = "an escape other than a punctuation character";
        return false;
      }
      atom.ranges.emplace_back(literal, literal);
    } else if (std::string_view("^$.|()*+?{}]").find(c) != std::string_view::npos) {
      *error = std::string("'") + c + "' where this form does not allow it";
      return false;
    } else {
      atom.ranges.emplace_back(static_cast<unsigned char>(c), static_cast<unsigned char>(c));
      ++at;
    }

    if (at < pattern.size()) {
      switch (pattern[at]) {
        case '?': atom.min = 0, atom.max = 1, ++at; break;
        case '*': atom.min = 0, atom.max = kUnbounded, ++at; break;
        case '+': atom.min = 1, atom.max = kUnbounded, ++at; break;
        case '{': {
          ++at;
          bool read = ReadCount(pattern, &at, &atom.min);
          atom.max = atom.min;
          if (read && at < pattern.size() && pattern[at] == ',') {
            ++at;
            if (!ReadCount(pattern, &at, &atom.max)) atom.max = kUnbounded;
          }
          if (!read || at >= pattern.size() || pattern[at] != '}' || atom.max < atom.min) {
            *error = "a quantifier other than {n}, {n,} or {n,m}";
            return false;
          }
          ++at;
          break;
        }
        default: break;
      }
    }
    atoms_.push_back(std::move(atom));
  }
  return true;
}

bool SchemaPattern::AtomMatches(const Atom& atom, unsigned char c) const {
  bool inside = false;
  for (const auto& [first, last] : atom.ranges) inside = inside || (c >= first && c <= last);
  return inside != atom.negated;
}

bool SchemaPattern::MatchFrom(std::size_t atom, std::string_view text, std::size_t at) const {
  if (atom == atoms_.size()) return !anchoredEnd_ || at == text.size();
  const Atom& here = atoms_[atom];
  std::size_t count = 0;
  while (count < here.max && at + count < text.size() &&
         AtomMatches(here, static_cast<unsigned char>(text[at + count]))) {
    ++count;
  }
  // Greedy, giving back one character at a time, as a backtracking engine does.
  for (std::size_t taken = count + 1; taken-- > here.min;) {
    if (MatchFrom(atom + 1, text, at + taken)) return true;
  }
  return false;
}

bool SchemaPattern::Matches(std::string_view text) const {
  if (anchoredStart_) return MatchFrom(0, text, 0);
  for (std::size_t start = 0; start <= text.size(); ++start) {
    if (MatchFrom(0, text, start)) return true;
  }
  return false;
}
