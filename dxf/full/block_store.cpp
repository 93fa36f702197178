#include "dxf/full/block_store.h"

namespace drawport::full {
namespace {

constexpr int32_t kBlockName = 2;
constexpr int32_t kBlockRecordHandle = 330;

bool startsWithFolded(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && foldedName(name.substr(0, prefix.size())) == prefix;
}

bool isLayoutBlock(std::string_view name) {
  return startsWithFolded(name, "*MODEL_SPACE") || startsWithFolded(name, "*PAPER_SPACE");
}

}  // namespace

std::string foldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return folded;
}

uint32_t BlockStore::keepText(std::string_view text) {
  const uint32_t offset = static_cast<uint32_t>(texts_.size());
  texts_.insert(texts_.end(), text.begin(), text.end());
  return offset;
}

void BlockStore::begin(const RecordView& block) {
  if (open_) end();
  StoredBlock stored;
  const std::string_view name = block.textOr(kBlockName);
  stored.nameOffset = keepText(name);
  stored.nameLength = static_cast<uint32_t>(name.size());
  stored.base[0] = block.numberOr(10, 0);
  stored.base[1] = block.numberOr(20, 0);
  stored.base[2] = block.numberOr(30, 0);
  stored.flags = block.integerOr(70, 0);
  stored.layout = isLayoutBlock(name);
  stored.firstEntity = static_cast<uint32_t>(entities_.size());
  const int32_t index = static_cast<int32_t>(blocks_.size());
  blocks_.push_back(stored);
  byName_.emplace(foldedName(name), index);
  const std::string_view handle = block.textOr(kBlockRecordHandle);
  if (!handle.empty()) byHandle_.emplace(foldedName(handle), index);
  open_ = true;
}

void BlockStore::add(const RecordView& entity) {
  if (!open_ || blocks_.back().layout) return;
  StoredEntity stored;
  stored.nameOffset = keepText(entity.name());
  stored.nameLength = static_cast<uint32_t>(entity.name().size());
  stored.firstGroup = groups_.size();
  stored.groupCount = entity.size();
  for (size_t i = 0; i < entity.size(); ++i) {
    Group group{entity.code(i), 0, 0, entity.number(i)};
    const std::string_view text = entity.text(i);
    if (!text.empty()) {
      group.textOffset = keepText(text);
      group.textLength = static_cast<uint32_t>(text.size());
    }
    groups_.push_back(group);
  }
  entities_.push_back(stored);
  blocks_.back().entityCount = static_cast<uint32_t>(entities_.size()) - blocks_.back().firstEntity;
}

void BlockStore::end() { open_ = false; }

int32_t BlockStore::find(std::string_view name) const {
  const auto found = byName_.find(foldedName(name));
  return found == byName_.end() ? -1 : found->second;
}

int32_t BlockStore::findByHandle(std::string_view handle) const {
  const auto found = byHandle_.find(foldedName(handle));
  return found == byHandle_.end() ? -1 : found->second;
}

RecordView BlockStore::entity(uint32_t index) const {
  const StoredEntity& stored = entities_[index];
  return RecordView(std::string_view(texts_.data() + stored.nameOffset, stored.nameLength),
                    groups_.data() + stored.firstGroup, stored.groupCount, texts_.data());
}

size_t BlockStore::bytesHeld() const {
  return groups_.capacity() * sizeof(Group) + texts_.capacity() + entities_.capacity() * sizeof(StoredEntity) +
         blocks_.capacity() * sizeof(StoredBlock);
}

}  // namespace drawport::full
