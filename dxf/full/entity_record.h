// An entity as the full reading holds it: its name and its groups in file
// order, each value already read as what its code says it is, a number or a
// text. Converters take an entity as such a record, whether it was just read
// from the ENTITIES section or is held in a block definition.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/heap.h"

namespace drawport::full {

class PairReader;

// Whether a code's value is a text or a number (integers and booleans
// included); codes of no known kind keep their text.
bool isNumberCode(int32_t code);

// What a group read becomes: a number, a text, or nothing.
enum class GroupKind : uint8_t { Text, Real, Integer, PassedOver, ApplicationGroup, EmbeddedObject };

// One group as held. Numbers are read once, when the entity is read; texts
// live in the text store of the record or block that holds the group.
struct Group {
  int32_t code;
  uint32_t textOffset;
  uint32_t textLength;
  double number;
};

// A view of one entity's groups.
class RecordView {
 public:
  RecordView() = default;
  RecordView(std::string_view name, const Group* groups, size_t count, const char* texts)
      : name_(name), groups_(groups), count_(count), texts_(texts) {}

  std::string_view name() const { return name_; }
  size_t size() const { return count_; }
  int32_t code(size_t i) const { return groups_[i].code; }
  double number(size_t i) const { return groups_[i].number; }
  int32_t integer(size_t i) const;
  std::string_view text(size_t i) const {
    return std::string_view(texts_ + groups_[i].textOffset, groups_[i].textLength);
  }

  // The index of the first group with `code` at or after `from`, or size().
  size_t find(int32_t code, size_t from = 0) const;
  bool has(int32_t code) const { return find(code) < count_; }
  // The value of the last group with `code`, or `fallback` when there is
  // none: a later group of the same code replaces an earlier one.
  double numberOr(int32_t code, double fallback) const;
  int32_t integerOr(int32_t code, int32_t fallback) const;
  // Texts are as written, blanks at their ends included.
  std::string_view textOr(int32_t code, std::string_view fallback = "") const;
  // The same without the blanks around it, for a value that is a word
  // compared as such (a table's name).
  std::string_view keywordOr(int32_t code, std::string_view fallback = "") const;
  // Whether `other` views the same groups: the same record, not one alike.
  bool isSameRecord(const RecordView& other) const {
    return name_.data() == other.name_.data() && groups_ == other.groups_ && count_ == other.count_;
  }

 private:
  std::string_view name_;
  const Group* groups_ = nullptr;
  size_t count_ = 0;
  const char* texts_ = nullptr;
};

// A bounded tally of names: how often something happened in all, and the
// first few distinct names it happened to, each cut to a short length.
struct NameTally {
  static constexpr int kMostNames = 5;
  static constexpr size_t kNameCapacity = 48;
  int64_t count = 0;
  int names = 0;
  bool moreNames = false;  // names beyond the first few were met
  char name[kMostNames][kNameCapacity] = {};
  void add(std::string_view what);
};

// The groups of the entity being read, reused from entity to entity.
class EntityRecord {
 public:
  // Bounds on what one entity may hold (a polyline of millions of vertices
  // fits); an entity beyond them is passed over whole.
  static constexpr size_t kMostGroups = size_t{1} << 22;
  static constexpr size_t kMostTextBytes = size_t{1} << 26;
  // Entity names are short words; a longer one is cut (and then names no
  // kind that is drawn).
  static constexpr size_t kNameCapacity = 64;

  RecordView view() const {
    return RecordView(std::string_view(name_, nameLength_), groups_.data(), groups_.size(), texts_.data());
  }
  bool oversized() const { return oversized_; }
  // The entities passed over for their size, by name, since the record was
  // made.
  const NameTally& oversizedRecords() const { return oversizedRecords_; }
  // Puts the tally back as it was before entities already counted were read
  // a second time.
  void restoreOversizedRecords(const NameTally& tally) { oversizedRecords_ = tally; }

  // Reads the entity whose 0/NAME pair `pairs` holds now, up to the next
  // pair of code 0, which `pairs` then holds. Application groups (102 "{"
  // to 102 "}"), extended data (codes 1000 and above) and an embedded
  // object (from a group 101 to the entity's end) are passed over.
  // False when the file ends first: an entity cut off by the end of the
  // file is dropped.
  bool read(PairReader& pairs);

  // Appends its groups and the texts they refer to (their offsets count
  // from where the texts start) to another store.
  void appendTo(HeapVector<Group>& groups, HeapVector<char>& texts) const {
    groups.insert(groups.end(), groups_.begin(), groups_.end());
    texts.insert(texts.end(), texts_.begin(), texts_.end());
  }

 private:
  void clear(std::string_view name);
  void add(int32_t code, GroupKind kind, std::string_view value);

  char name_[kNameCapacity] = "";
  size_t nameLength_ = 0;
  HeapVector<Group> groups_;
  HeapVector<char> texts_;
  bool oversized_ = false;
  NameTally oversizedRecords_;
};

}  // namespace drawport::full
