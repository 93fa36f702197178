#include "dxf/full/entity_record.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "dxf/full/pair_reader.h"
#include "dxf/numbers.h"

namespace drawport::full {
namespace {

struct CodeRange {
  int32_t first, last;
};
// Reals, integers and booleans.
constexpr CodeRange kNumberCodes[] = {
    {10, 59},   {60, 79},   {90, 99},   {110, 149}, {160, 179}, {210, 239},   {270, 289},   {290, 299},
    {370, 389}, {400, 409}, {420, 429}, {440, 459}, {460, 469}, {1010, 1059}, {1060, 1071},
};
// Of these, integers and booleans: read as whole numbers.
constexpr CodeRange kIntegerCodes[] = {
    {60, 79},   {90, 99},   {160, 179}, {270, 289}, {290, 299},
    {370, 389}, {400, 409}, {420, 429}, {440, 459}, {1060, 1071},
};

template <size_t N>
constexpr bool inRanges(int32_t code, const CodeRange (&ranges)[N]) {
  for (const CodeRange& range : ranges)
    if (code >= range.first && code <= range.last) return true;
  return false;
}

constexpr int32_t kApplicationGroup = 102;
// Starts the data of another object held inside the entity (the column data
// of an MTEXT): every group after it, up to the entity's end, is that
// object's.
constexpr int32_t kEmbeddedObject = 101;
// The entity's handle and its subclass markers: nothing draws by them.
constexpr int32_t kHandle = 5;
constexpr int32_t kSubclassMarker = 100;
constexpr int32_t kFirstExtendedData = 1000;

// What a group of codes 0 to 999 becomes in a record, looked up for every
// group read.
constexpr int32_t kKindTableSize = kFirstExtendedData;
struct GroupKinds {
  GroupKind of[kKindTableSize] = {};
  constexpr GroupKinds() {
    for (int32_t code = 0; code < kKindTableSize; ++code)
      of[code] = code == kHandle || code == kSubclassMarker ? GroupKind::PassedOver
                 : code == kApplicationGroup                ? GroupKind::ApplicationGroup
                 : code == kEmbeddedObject                  ? GroupKind::EmbeddedObject
                 : inRanges(code, kIntegerCodes)            ? GroupKind::Integer
                 : inRanges(code, kNumberCodes)             ? GroupKind::Real
                                                            : GroupKind::Text;
  }
};
constexpr GroupKinds kGroupKinds;

// Extended data and code lines without a number are passed over; other
// codes out of the table (negative ones) keep their text.
GroupKind kindOf(int32_t code) {
  if (code >= 0 && code < kKindTableSize) return kGroupKinds.of[code];
  return code >= kFirstExtendedData || code == PairReader::kNoCode ? GroupKind::PassedOver : GroupKind::Text;
}

}  // namespace

bool isNumberCode(int32_t code) { return inRanges(code, kNumberCodes); }

int32_t RecordView::integer(size_t i) const {
  const double value = number(i);
  if (!(value >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (!(value <= std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

size_t RecordView::find(int32_t code, size_t from) const {
  for (size_t i = from; i < count_; ++i)
    if (groups_[i].code == code) return i;
  return count_;
}

double RecordView::numberOr(int32_t code, double fallback) const {
  for (size_t i = count_; i-- > 0;)
    if (groups_[i].code == code) return groups_[i].number;
  return fallback;
}

int32_t RecordView::integerOr(int32_t code, int32_t fallback) const {
  for (size_t i = count_; i-- > 0;)
    if (groups_[i].code == code) return integer(i);
  return fallback;
}

std::string_view RecordView::textOr(int32_t code, std::string_view fallback) const {
  for (size_t i = count_; i-- > 0;)
    if (groups_[i].code == code) return text(i);
  return fallback;
}

std::string_view RecordView::keywordOr(int32_t code, std::string_view fallback) const {
  std::string_view word = textOr(code, fallback);
  while (!word.empty() && (word.front() == ' ' || word.front() == '\t')) word.remove_prefix(1);
  while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.remove_suffix(1);
  return word;
}

void NameTally::add(std::string_view what) {
  ++count;
  if (what.empty()) return;
  const std::string_view kept = what.substr(0, kNameCapacity - 1);
  for (int i = 0; i < names; ++i)
    if (kept == name[i]) return;
  if (names == kMostNames) {
    moreNames = true;
    return;
  }
  std::memcpy(name[names], kept.data(), kept.size());
  name[names][kept.size()] = '\0';
  ++names;
}

void EntityRecord::clear(std::string_view name) {
  nameLength_ = name.size() < sizeof name_ ? name.size() : sizeof name_;
  std::memcpy(name_, name.data(), nameLength_);
  groups_.clear();
  texts_.clear();
  oversized_ = false;
}

// Made in place in the reading loop, and each group written field by field
// where it is kept: this runs for every group of the file.
__attribute__((always_inline)) inline void EntityRecord::add(int32_t code, GroupKind kind, std::string_view value) {
  const bool number = kind == GroupKind::Real || kind == GroupKind::Integer;
  if (groups_.size() >= kMostGroups || (!number && texts_.size() + value.size() > kMostTextBytes)) {
    oversized_ = true;
    return;
  }
  Group& group = groups_.emplace_back();
  group.code = code;
  if (number) {
    group.number = kind == GroupKind::Real ? parseReal(value) : parseLong32(value);
    return;
  }
  group.textOffset = static_cast<uint32_t>(texts_.size());
  group.textLength = static_cast<uint32_t>(value.size());
  texts_.insert(texts_.end(), value.begin(), value.end());
}

bool EntityRecord::read(PairReader& pairs) {
  clear(pairs.keyword());
  bool inApplicationGroup = false;
  bool inEmbeddedObject = false;
  while (pairs.next()) {
    const int32_t code = pairs.code();
    if (code == 0) {
      if (oversized_) oversizedRecords_.add(std::string_view(name_, nameLength_));
      return true;
    }
    const GroupKind kind = kindOf(code);
    if (kind == GroupKind::EmbeddedObject && !inApplicationGroup) inEmbeddedObject = true;
    if (kind == GroupKind::ApplicationGroup) {
      // "{NAME" opens an application's group, "}" closes it.
      const std::string_view value = pairs.keyword();
      inApplicationGroup = !value.empty() && value.front() == '{';
      continue;
    }
    if (kind == GroupKind::PassedOver || inApplicationGroup || inEmbeddedObject || oversized_) continue;
    add(code, kind, pairs.value());
  }
  return false;
}

}  // namespace drawport::full
