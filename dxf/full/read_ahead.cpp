#include "dxf/full/read_ahead.h"

#include <new>

#include "dxf/full/pair_reader.h"

namespace drawport::full {

// What an entry of a batch holds: what reading in step would have met at
// that point of the section.
enum class ReadAheadEntities::EntryKind : uint8_t {
  Record,       // an entity to draw
  Oversized,    // an entity beyond the bounds of a record: passed over
  CutOff,       // an entity cut off by the end of the file: the last
  OutOfMemory,  // reading the entity ran out of memory: the last
  SectionStart, // a 0/SECTION pair within the section: read on in step
  End,          // the section's end (0/ENDSEC, 0/EOF, or the file's end)
};

namespace {

// A batch is handed over when it holds this many entries or this many bytes
// of groups and texts, whichever comes first: small enough to stay in the
// processors' caches on its way ...
constexpr size_t kEntriesPerBatch = 256;
constexpr size_t kBytesPerBatch = size_t{128} << 10;
// ... and it keeps at most this much room for the next after a large entity.
constexpr size_t kRoomKeptPerBatch = size_t{1} << 20;
// Entities of more groups than this are left to the drawing to work out:
// they are rare, and working them out would hold the reading up.
constexpr size_t kMostGroupsPreparedAhead = size_t{1} << 15;
// Points and texts worked out ahead travel in a batch only up to these
// sizes (a long contour line, a long note): beyond them the drawing works
// them out again, so that a hostile file cannot make batches large.
constexpr size_t kMostPointsPerEntity = size_t{1} << 14;
constexpr size_t kMostShownBytesPerEntity = size_t{64} << 10;
// What follows from one record alone is worked out ahead in at most this
// much work, what the drawing does between two of its percent-done checks:
// the drawing may be waiting for the batch, and only the drawing can hear
// the user's stop. Longer work (a spline of high degree, a long bulged
// outline) is left to the drawing, which counts it against the run.
constexpr int64_t kMostStepsPreparedAhead = FullRun::kWorkPerProgressCheck;
// The drawing is behind while it has this many batches handed over and not
// given back: the one it draws and one waiting.
constexpr int64_t kBatchesWhenBehind = 2;

}  // namespace

ReadAheadPolicy& readAheadPolicy() {
  static ReadAheadPolicy policy;
  return policy;
}

struct ReadAheadEntities::Entry {
  EntryKind kind = EntryKind::End;
  // The entity's name (of every kind that read one), cut as a record cuts
  // it; its texts from texts[textStart] on and its groups from
  // groups[firstGroup] on, of its batch.
  char name[EntityRecord::kNameCapacity];
  size_t nameLength = 0;
  size_t textStart = 0;
  size_t firstGroup = 0;
  size_t groupCount = 0;
  // The checks that fell due while it was read: checks[firstCheck] on.
  size_t firstCheck = 0;
  size_t checkCount = 0;
  // What was worked out ahead of its drawing, if anything: its common
  // groups, its points from points[firstPoint] on, its text from
  // shown[firstShown] on.
  bool prepared = false;
  CommonGroups common;
  bool hasPoints = false;
  bool closed = false;
  bool hasText = false;
  size_t firstPoint = 0;
  size_t pointCount = 0;
  size_t firstShown = 0;
  size_t shownLength = 0;
  int64_t position = 0;     // the reader's position after it
  DxfReader::EndState end;  // and its end state

  void setName(std::string_view read) { nameLength = read.copy(name, sizeof name); }
};

struct ReadAheadEntities::Batch {
  Entry entries[kEntriesPerBatch];
  size_t count = 0;
  HeapVector<Group> groups;
  HeapVector<char> texts;
  HeapVector<int32_t> checks;
  HeapVector<Vec3> points;
  HeapVector<char> shown;

  void clear() {
    count = 0;
    if (groups.capacity() * sizeof(Group) + texts.capacity() + points.capacity() * sizeof(Vec3) + shown.capacity() >
        kRoomKeptPerBatch) {
      HeapVector<Group>().swap(groups);
      HeapVector<char>().swap(texts);
      HeapVector<Vec3>().swap(points);
      HeapVector<char>().swap(shown);
    }
    groups.clear();
    texts.clear();
    checks.clear();
    points.clear();
    shown.clear();
  }
  bool full() const {
    return count == kEntriesPerBatch ||
           groups.size() * sizeof(Group) + texts.size() + points.size() * sizeof(Vec3) + shown.size() >= kBytesPerBatch;
  }
  // Keeps the entity just read in `entry`.
  void keep(Entry& entry, const EntityRecord& record) {
    entry.firstGroup = groups.size();
    entry.groupCount = record.view().size();
    entry.textStart = texts.size();
    record.appendTo(groups, texts);
  }
  // Works out what follows from the record kept in `entry` alone.
  void prepare(Entry& entry, const ImportSettings& settings, const HeaderExtras& header, PrepareWork& work) {
    const RecordView record = view(entry);
    entry.common = commonGroupsOf(record);
    work.points.clear();
    work.text.clear();
    Preparation made{work.points, work.text};
    work.steps.reset(kMostStepsPreparedAhead);
    prepareEntity(settings, header, record, work, made);
    if (work.steps.passed()) made.hasPoints = made.hasText = false;
    entry.hasPoints = made.hasPoints && work.points.size() <= kMostPointsPerEntity;
    entry.closed = made.closed;
    entry.firstPoint = points.size();
    entry.pointCount = entry.hasPoints ? work.points.size() : 0;
    if (entry.hasPoints) points.insert(points.end(), work.points.begin(), work.points.end());
    entry.hasText = made.hasText && work.text.size() <= kMostShownBytesPerEntity;
    entry.firstShown = shown.size();
    entry.shownLength = entry.hasText ? work.text.size() : 0;
    if (entry.hasText) shown.insert(shown.end(), work.text.begin(), work.text.end());
    entry.prepared = true;
  }
  PreparedEntity prepared(const Entry& entry) const {
    PreparedEntity made;
    made.record = view(entry);
    made.present = true;
    made.common = entry.common;
    made.hasPoints = entry.hasPoints;
    made.points = points.data() + entry.firstPoint;
    made.count = entry.pointCount;
    made.closed = entry.closed;
    made.hasText = entry.hasText;
    made.text = std::string_view(shown.data() + entry.firstShown, entry.shownLength);
    return made;
  }
  RecordView view(const Entry& entry) const {
    return RecordView(std::string_view(entry.name, entry.nameLength), groups.data() + entry.firstGroup,
                      entry.groupCount, texts.data() + entry.textStart);
  }
};

ReadAheadEntities::ReadAheadEntities(FullRun& run) : run_(run), inStep_(run) {}

ReadAheadEntities::~ReadAheadEntities() { giveReaderBack(); }

bool ReadAheadEntities::start() {
  batches_.reset(new (std::nothrow) Batch[kBatches]);
  if (!batches_) return false;
  drawnEnd_ = run_.run.in.endState();
  // The reading thread works out texts in the encoding the drawing reads
  // them in: the one it chose, or would choose from the header now.
  TextEncoding& encoding = run_.texts.encoding;
  if (!encoding.chosen()) encoding.choose(run_.header.version, run_.header.codePage);
  prepareWork_.texts.encoding.chooseLike(encoding);
  run_.run.readingAhead = true;
  try {
    reading_ = std::thread([this] { readAll(); });
  } catch (const std::exception&) {
    run_.run.readingAhead = false;
    return false;
  }
  return true;
}

// --- The reading thread ---

void ReadAheadEntities::readAll() {
  DxfReader& in = run_.run.in;
  for (Batch* batch = batchToFill(); batch;) {
    in.deferChecksTo(&batch->checks);
    bool more;
    try {
      more = readOne(*batch);
    } catch (...) {
      // Out of memory while reading an entity: the drawing fails there.
      Entry& entry = batch->entries[batch->count++];
      entry.kind = EntryKind::OutOfMemory;
      entry.setName(run_.record.view().name());
      entry.checkCount = batch->checks.size() - entry.firstCheck;
      more = false;
    }
    if (more && !batch->full()) continue;
    handOver();
    batch = more ? batchToFill() : nullptr;
  }
  in.deferChecksTo(nullptr);
}

// Reads the next entry as FileEntities reads the next entity; false when it
// is the last.
bool ReadAheadEntities::readOne(Batch& batch) {
  Entry& entry = batch.entries[batch.count];
  entry.firstCheck = batch.checks.size();
  entry.prepared = false;
  PairReader& pairs = run_.pairs;
  DxfReader& in = run_.run.in;
  const std::string_view name = pairs.keyword();
  if (in.endOfFile() || pairs.code() != 0 || name == "ENDSEC" || name == "EOF") {
    entry.kind = EntryKind::End;
  } else if (name == "SECTION") {
    entry.kind = EntryKind::SectionStart;
  } else {
    EntityRecord& record = run_.record;
    const bool complete = record.read(pairs);
    entry.setName(record.view().name());
    entry.kind = !complete ? EntryKind::CutOff : record.oversized() ? EntryKind::Oversized : EntryKind::Record;
    if (entry.kind == EntryKind::Record) {
      batch.keep(entry, record);
      if (preparesAhead(record.view())) batch.prepare(entry, run_.run.settings, run_.header, prepareWork_);
    }
  }
  entry.checkCount = batch.checks.size() - entry.firstCheck;
  entry.position = in.position();
  entry.end = in.endState();
  ++batch.count;
  return entry.kind == EntryKind::Record || entry.kind == EntryKind::Oversized;
}

bool ReadAheadEntities::preparesAhead(const RecordView& entity) const {
  if (entity.size() > kMostGroupsPreparedAhead) return false;
  switch (readAheadPolicy().preparing) {
    case PreparingAhead::Always: return true;
    case PreparingAhead::Never: return false;
    default: return handedOver_ - givenBack_.load() >= kBatchesWhenBehind;
  }
}

ReadAheadEntities::Batch* ReadAheadEntities::batchToFill() {
  std::unique_lock<std::mutex> hold(lock_);
  changed_.wait(hold, [this] { return stopRequested_ || handedOver_ - givenBack_ < kBatches; });
  if (stopRequested_) return nullptr;
  Batch& batch = batches_[handedOver_ % kBatches];
  hold.unlock();
  batch.clear();
  return &batch;
}

void ReadAheadEntities::handOver() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    ++handedOver_;
  }
  changed_.notify_all();
}

// --- The drawing ---

ReadAheadEntities::Entry& ReadAheadEntities::peek() const {
  if (batch_ >= seenHandedOver_) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return batch_ < handedOver_; });
    seenHandedOver_ = handedOver_;
  }
  return batches_[batch_ % kBatches].entries[entry_];
}

void ReadAheadEntities::giveBackBatchesBefore(int64_t batch) {
  if (batch <= seenGivenBack_) return;
  seenGivenBack_ = batch;
  {
    std::lock_guard<std::mutex> hold(lock_);
    givenBack_ = batch;
  }
  changed_.notify_all();
}

ReadAheadEntities::EntryKind ReadAheadEntities::take(RecordView& entity) {
  const Entry& entry = peek();
  const Batch& batch = batches_[batch_ % kBatches];
  for (size_t i = 0; i < entry.checkCount; ++i) run_.run.in.checkPercent(batch.checks[entry.firstCheck + i]);
  drawnEnd_ = entry.end;
  run_.drawnUpTo = entry.position;
  if (entry.kind == EntryKind::Record) entity = batch.view(entry);
  run_.prepared = entry.kind == EntryKind::Record && entry.prepared ? batch.prepared(entry) : PreparedEntity{};
  const EntryKind kind = entry.kind;
  if (++entry_ == batch.count) {
    ++batch_;
    entry_ = 0;
  }
  return kind;
}

bool ReadAheadEntities::hasNext() const {
  if (inStepNow_) return inStep_.hasNext();
  if (entriesDone_ || run_.run.outOfMemory) return false;
  return peek().kind != EntryKind::End;
}

std::string_view ReadAheadEntities::nextName() const {
  if (inStepNow_) return inStep_.nextName();
  const Entry& entry = peek();
  if (entry.kind == EntryKind::SectionStart) return "SECTION";
  return std::string_view(entry.name, entry.nameLength);
}

bool ReadAheadEntities::next(RecordView& entity) {
  if (inStepNow_) return inStep_.next(entity);
  for (;;) {
    if (entriesDone_ || run_.run.outOfMemory) return false;
    // The record handed out last is done with: its batch may go back.
    giveBackBatchesBefore(batch_);
    const EntryKind kind = peek().kind;
    if (kind == EntryKind::End) return false;
    if (kind == EntryKind::SectionStart) {
      continueInStep();
      return inStep_.next(entity);
    }
    switch (take(entity)) {
      case EntryKind::Record:
        return true;
      case EntryKind::CutOff:
        entriesDone_ = true;
        return false;
      case EntryKind::OutOfMemory:
        entriesDone_ = true;
        throw std::bad_alloc();
      default:
        break;  // an oversized entity: passed over
    }
  }
}

void ReadAheadEntities::continueInStep() {
  giveReaderBack();
  inStepNow_ = true;
}

void ReadAheadEntities::finish() {
  if (!inStepNow_ && !entriesDone_ && !run_.stopped()) {
    // The drawing ended early (the bound on host objects): the entities left
    // are taken and passed over, up to a section's start, which reading in
    // step stops at too.
    RecordView passedOver;
    while (peek().kind != EntryKind::SectionStart && next(passedOver)) {
    }
  }
  giveReaderBack();
}

void ReadAheadEntities::giveReaderBack() {
  if (reading_.joinable()) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stopRequested_ = true;
    }
    changed_.notify_all();
    reading_.join();
  }
  if (!run_.run.readingAhead) return;
  run_.run.readingAhead = false;
  run_.drawnUpTo = -1;
  run_.prepared = {};
  DxfReader& in = run_.run.in;
  in.deferChecksTo(nullptr);
  // The reading may have gone past where the drawing stopped: whether the
  // file has ended is as the drawing last met it.
  in.restoreEndState(drawnEnd_);
  if (run_.run.outOfMemory) in.halt();
}

}  // namespace drawport::full
