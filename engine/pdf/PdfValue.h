#pragma once
// The values of PDF syntax, as the engine holds them while it reads a source and writes the
// output: null, booleans, numbers, strings, names, arrays, dictionaries and references.
// Plain data with no owner: an object read from a file is a Value, and a Value is written as
// an object. Dictionaries keep their keys in file order; lookups are linear, which is fastest
// for the handful of keys PDF dictionaries have.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace engine::pdf {

struct Ref {
  uint32_t num = 0;
  uint16_t gen = 0;
  bool operator==(const Ref &o) const { return num == o.num && gen == o.gen; }
  bool operator!=(const Ref &o) const { return !(*this == o); }
  bool operator<(const Ref &o) const { return num != o.num ? num < o.num : gen < o.gen; }
};

struct Name {
  std::string text; // without the slash, #xx escapes decoded
};

struct String {
  std::string bytes;
  bool hex = false; // written as <...> when it was read so
};

class Value;
struct DictEntry;
using Array = std::vector<Value>;

class Dict {
public:
  const Value *Get(std::string_view key) const;
  Value *Get(std::string_view key);
  bool Has(std::string_view key) const { return Get(key) != nullptr; }
  // Replaces the value of an existing key, or appends the key.
  void Set(std::string_view key, Value value);
  void Remove(std::string_view key);
  // Appends without looking for the key first.
  void Append(std::string key, Value value);
  size_t size() const { return m_entries.size(); }
  bool empty() const { return m_entries.empty(); }
  std::vector<DictEntry>::const_iterator begin() const { return m_entries.begin(); }
  std::vector<DictEntry>::const_iterator end() const { return m_entries.end(); }
  std::vector<DictEntry>::iterator begin() { return m_entries.begin(); }
  std::vector<DictEntry>::iterator end() { return m_entries.end(); }
  void Reserve(size_t n) { m_entries.reserve(n); }

private:
  std::vector<DictEntry> m_entries;
};

class Value {
public:
  enum class Kind : uint8_t { Null, Bool, Int, Real, String, Name, Array, Dict, Ref };

  Value() = default;
  Value(bool b) : m_v(b) {}
  Value(const char *) = delete; // names and strings are made explicitly
  Value(int v) : m_v(static_cast<int64_t>(v)) {}
  Value(int64_t v) : m_v(v) {}
  Value(double v) : m_v(v) {}
  Value(Ref r) : m_v(r) {}
  Value(pdf::Name n) : m_v(std::move(n)) {}
  Value(pdf::String s) : m_v(std::move(s)) {}
  Value(pdf::Array a) : m_v(std::move(a)) {}
  Value(pdf::Dict d) : m_v(std::move(d)) {}
  static Value MakeName(std::string_view text) { return Value(pdf::Name{std::string(text)}); }
  static Value MakeString(std::string_view bytes, bool hex = false) {
    return Value(pdf::String{std::string(bytes), hex});
  }

  Kind kind() const { return static_cast<Kind>(m_v.index()); }
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsBool() const { return kind() == Kind::Bool; }
  bool IsInt() const { return kind() == Kind::Int; }
  bool IsNumber() const { return kind() == Kind::Int || kind() == Kind::Real; }
  bool IsString() const { return kind() == Kind::String; }
  bool IsName() const { return kind() == Kind::Name; }
  bool IsName(std::string_view text) const { return IsName() && name() == text; }
  bool IsArray() const { return kind() == Kind::Array; }
  bool IsDict() const { return kind() == Kind::Dict; }
  bool IsRef() const { return kind() == Kind::Ref; }

  bool boolean() const { return std::get<bool>(m_v); }
  int64_t integer() const { return std::get<int64_t>(m_v); }
  // The value of an integer or a real number.
  double number() const {
    return IsInt() ? static_cast<double>(std::get<int64_t>(m_v)) : std::get<double>(m_v);
  }
  const std::string &name() const { return std::get<pdf::Name>(m_v).text; }
  const pdf::String &string() const { return std::get<pdf::String>(m_v); }
  pdf::String &string() { return std::get<pdf::String>(m_v); }
  const pdf::Array &array() const { return std::get<pdf::Array>(m_v); }
  pdf::Array &array() { return std::get<pdf::Array>(m_v); }
  const pdf::Dict &dict() const { return std::get<pdf::Dict>(m_v); }
  pdf::Dict &dict() { return std::get<pdf::Dict>(m_v); }
  Ref ref() const { return std::get<Ref>(m_v); }

  // Dictionary lookups that answer null for a value that is not a dictionary.
  const Value *Get(std::string_view key) const { return IsDict() ? dict().Get(key) : nullptr; }

private:
  std::variant<std::monostate, bool, int64_t, double, pdf::String, pdf::Name, pdf::Array, pdf::Dict,
               Ref>
      m_v;
};

struct DictEntry {
  std::string key;
  Value value;
};

inline const Value *Dict::Get(std::string_view key) const {
  for (const DictEntry &entry : m_entries)
    if (entry.key == key)
      return &entry.value;
  return nullptr;
}

inline Value *Dict::Get(std::string_view key) {
  for (DictEntry &entry : m_entries)
    if (entry.key == key)
      return &entry.value;
  return nullptr;
}

inline void Dict::Set(std::string_view key, Value value) {
  if (Value *pExisting = Get(key))
    *pExisting = std::move(value);
  else
    m_entries.push_back(DictEntry{std::string(key), std::move(value)});
}

inline void Dict::Append(std::string key, Value value) {
  m_entries.push_back(DictEntry{std::move(key), std::move(value)});
}

inline void Dict::Remove(std::string_view key) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
    if (it->key == key) {
      m_entries.erase(it);
      return;
    }
}

// A number of a value that is an integer or a real; fallback for anything else.
inline double NumberOr(const Value *pValue, double fallback) {
  return (pValue != nullptr && pValue->IsNumber()) ? pValue->number() : fallback;
}

} // namespace engine::pdf
