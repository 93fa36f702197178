// Reading the ENTITIES section of a large drawing ahead of its drawing: a
// thread of the add-on's own reads the next records while the host's thread
// draws the ones before them.
//
// The reading thread calls nothing of the host and changes nothing the
// drawing uses: it owns the reader until it ends, and the records it read
// travel to the drawing in batches. What the host must see in order, the
// percent-done checks that fell due while a record was read, travels with
// that record; the drawing makes them when it takes the record, where
// reading and drawing in turn would have made them. So the host sees the
// same calls, in the same order, as when the file is read in step with the
// drawing.
//
// While the drawing is behind, the reading thread also works out what
// follows from a record alone (PreparedEntity), with the same functions the
// drawing would use, and it travels with the record: the drawing then only
// takes it, and draws the same.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "dxf/full/entity_record.h"
#include "dxf/reader.h"
#include "entities/full/drawing.h"

namespace drawport::full {

// When the reading thread also works out what follows from the records it
// read alone (see PreparedEntity), which the host's thread would otherwise
// work out while it draws them.
enum class PreparingAhead : uint8_t {
  WhileDrawingIsBehind,  // while the drawing has a batch of records waiting
  Always,
  Never,
};

// Which files are read ahead: below this size a second thread does not pay
// for itself; and when what follows from a record alone is worked out
// ahead. The test-only add-on can change both.
struct ReadAheadPolicy {
  int64_t smallestFile = int64_t{1} << 20;
  PreparingAhead preparing = PreparingAhead::WhileDrawingIsBehind;
};
ReadAheadPolicy& readAheadPolicy();

// The entities of the section being read, read ahead of the drawing. Used
// like FileEntities, whose order of events it keeps.
class ReadAheadEntities : public EntitySource {
 public:
  // The pair reader holds the 0/NAME pair of the section's first entity (or
  // of what ends the section).
  explicit ReadAheadEntities(FullRun& run);
  // Stops the reading thread if it still runs and waits for it.
  ~ReadAheadEntities() override;
  ReadAheadEntities(const ReadAheadEntities&) = delete;
  ReadAheadEntities& operator=(const ReadAheadEntities&) = delete;

  // Starts the reading thread; false when none could be started (the
  // section is then read in step with the drawing, by FileEntities).
  bool start();

  bool hasNext() const override;
  std::string_view nextName() const override;
  // Throws std::bad_alloc where reading the record ran out of memory.
  bool next(RecordView& entity) override;

  // The drawing of the section is over. When it stopped (the user's stop
  // request, or out of memory), the reading stops too and the reader's end
  // state is put back to where the drawing stopped. Otherwise the entities
  // left are taken and passed over, their checks made, as reading them in
  // step would have done (and may throw as next() does). Either way the
  // reader is the caller's again.
  void finish();

 private:
  enum class EntryKind : uint8_t;
  struct Entry;
  struct Batch;

  // The reading thread's loop; one entry read; the batch to fill next
  // (null when the reading is to stop); the batch filled handed over.
  void readAll();
  bool readOne(Batch& batch);
  Batch* batchToFill();
  void handOver();
  // Whether what follows from the record just read alone is to be worked
  // out now.
  bool preparesAhead(const RecordView& entity) const;

  // The next entry, waited for.
  Entry& peek() const;
  // Takes the next entry: makes the checks that fell due while it was read;
  // its entity goes to `entity` when it is one to draw.
  EntryKind take(RecordView& entity);
  // The batches before `batch` are done with: back to the reading thread.
  void giveBackBatchesBefore(int64_t batch);
  // A 0/SECTION pair within the section: the rest is read in step.
  void continueInStep();
  // Stops the reading thread if it runs, waits for it, and hands the
  // reader back to reading in step.
  void giveReaderBack();

  FullRun& run_;
  // A batch travels from the reading thread to the drawing and back; they
  // are numbered in order of filling, batch n in slot n % kBatches. Enough
  // of them that the reading can go on working ahead while the drawing
  // waits on the host (the host's first touch of fresh memory is slow in
  // spells).
  static constexpr int kBatches = 16;
  std::unique_ptr<Batch[]> batches_;
  std::thread reading_;
  mutable std::mutex lock_;
  mutable std::condition_variable changed_;
  int64_t handedOver_ = 0;  // batches the reading thread has handed over
  // Batches the drawing is done with; set under the lock, and read without
  // it by the reading thread to see how far behind the drawing is.
  std::atomic<int64_t> givenBack_{0};
  bool stopRequested_ = false;
  PrepareWork prepareWork_;  // the reading thread's room for what it works out

  // The drawing's side, apart from the reading thread's on cache lines of
  // its own: the next entry to take, batch and place in it.
  alignas(kCacheLineBytes) int64_t batch_ = 0;
  size_t entry_ = 0;
  mutable int64_t seenHandedOver_ = 0;  // handedOver_ as last seen: no lock needed below it
  int64_t seenGivenBack_ = 0;           // givenBack_ as last set: no lock needed up to it
  DxfReader::EndState drawnEnd_;        // the reader's end state after the entry taken last
  bool entriesDone_ = false;            // an entry ended the entities (cut off, out of memory)
  bool inStepNow_ = false;
  FileEntities inStep_;
};

}  // namespace drawport::full
