// Tests of the benchmark's tools: the drawings of every mix hold together as
// a CAD program's do, and importbench counts a frame's objects however the
// JSON arrives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/drawing_mix.h"
#include "bench/object_counter.h"

namespace drawport_bench {
namespace {

struct Pair {
  int code;
  std::string value;
};

// Everything from one 0 group to the next, and where it stands.
struct Record {
  std::string kind, section, block;
  std::vector<Pair> pairs;

  std::vector<std::string> all(int code) const {
    std::vector<std::string> values;
    for (const Pair& pair : pairs)
      if (pair.code == code) values.push_back(pair.value);
    return values;
  }
  double real(int code, double otherwise) const {
    const std::vector<std::string> values = all(code);
    return values.empty() ? otherwise : std::stod(values[0]);
  }
  int integer(int code) const { return static_cast<int>(real(code, 0)); }
};

std::vector<Record> written(DrawingWriter write, const DrawingOptions& options) {
  std::FILE* file = std::tmpfile();
  WrittenDrawing facts;
  EXPECT_TRUE(write(options, file, facts));
  std::rewind(file);
  std::vector<Record> records;
  std::string section, block;
  char code[64], value[4096];
  while (std::fgets(code, sizeof code, file) && std::fgets(value, sizeof value, file)) {
    std::string text = value;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const Pair pair{std::stoi(code), text};
    if (pair.code == 0) {
      if (!records.empty() && records.back().kind == "ENDBLK") block.clear();
      records.push_back({pair.value, section, block, {}});
      continue;
    }
    records.back().pairs.push_back(pair);
    if (records.back().kind == "SECTION" && pair.code == 2) section = pair.value;
    if (records.back().kind == "BLOCK" && pair.code == 2) block = pair.value;
  }
  std::fclose(file);
  return records;
}

// Every handle once; every reference to one names one.
void expectHandlesHoldTogether(const std::vector<Record>& records) {
  std::set<std::string> handles;
  for (const Record& record : records)
    for (const Pair& pair : record.pairs)
      if (pair.code == 5 || pair.code == 105) {
        EXPECT_TRUE(handles.insert(pair.value).second) << pair.value;
      }
  for (const Record& record : records)
    for (const Pair& pair : record.pairs)
      if ((pair.code == 330 || pair.code == 340 || pair.code == 350 || pair.code == 390) && pair.value != "0") {
        EXPECT_TRUE(handles.count(pair.value)) << record.kind << " refers to " << pair.value;
      }
}

// Walks an entity's groups in order, as a HATCH must be read.
class Cursor {
 public:
  explicit Cursor(const Record& record) : pairs_(record.pairs) {}
  void skipTo(int code) {
    while (at_ < pairs_.size() && pairs_[at_].code != code) ++at_;
  }
  // The value of the next group, which must have CODE.
  int take(int code) {
    if (at_ >= pairs_.size() || pairs_[at_].code != code) {
      ADD_FAILURE() << "group " << code << " expected at " << at_;
      at_ = pairs_.size();
      return 0;
    }
    return static_cast<int>(std::stod(pairs_[at_++].value));
  }
  void takeEach(std::initializer_list<int> codes) {
    for (int code : codes) take(code);
  }
  bool next(int code) const { return at_ < pairs_.size() && pairs_[at_].code == code; }

 private:
  const std::vector<Pair>& pairs_;
  size_t at_ = 0;
};

void expectHatchCounts(const Record& hatch) {
  Cursor cursor(hatch);
  cursor.skipTo(91);
  const int paths = cursor.take(91);
  for (int path = 0; path < paths; ++path) {
    if (cursor.take(92) & 2) {
      const bool bulges = cursor.take(72);
      cursor.take(73);
      for (int vertex = cursor.take(93); vertex > 0; --vertex) {
        cursor.takeEach({10, 20});
        if (bulges) cursor.take(42);
      }
    } else {
      for (int edge = cursor.take(93); edge > 0; --edge) {
        if (cursor.take(72) == 1)
          cursor.takeEach({10, 20, 11, 21});
        else
          cursor.takeEach({10, 20, 40, 50, 51, 73});
      }
    }
    for (int source = cursor.take(97); source > 0; --source) cursor.take(330);
  }
  cursor.takeEach({75, 76});
  if (cursor.next(47)) cursor.take(47);
  for (int seed = cursor.take(98); seed > 0; --seed) cursor.takeEach({10, 20});
}

void expectCountsAgree(const Record& record) {
  auto count = [&](int code) { return static_cast<int>(record.all(code).size()); };
  if (record.kind == "LWPOLYLINE") {
    EXPECT_EQ(record.integer(90), count(10));
  }
  if (record.kind == "SPLINE") {
    EXPECT_EQ(record.integer(72), count(40));
    EXPECT_EQ(record.integer(73), count(10));
    EXPECT_EQ(record.integer(74), count(11));
    if (record.integer(70) & 4) {
      EXPECT_EQ(count(41), count(10));
    }
    if (count(40)) {
      EXPECT_EQ(count(40), count(10) + 4);  // degree 3
    }
  }
  if (record.kind == "HATCH") expectHatchCounts(record);
  if (record.kind == "MTEXT") {
    for (const std::string& piece : record.all(3)) EXPECT_EQ(piece.size(), 250u);
  }
}

// VERTEXes follow their POLYLINE and ATTRIBs an INSERT with 66 1; a SEQEND
// closes each run, and stands nowhere else.
void expectRunsClose(const std::vector<Record>& records) {
  const char* open = nullptr;
  for (const Record& record : records) {
    if (record.kind == "VERTEX" || record.kind == "ATTRIB") {
      EXPECT_TRUE(open && record.kind == open) << record.kind << " outside its run";
    } else if (record.kind == "SEQEND") {
      EXPECT_TRUE(open) << "SEQEND outside a run";
      open = nullptr;
    } else {
      EXPECT_FALSE(open) << "a run of " << open << " left open";
      open = record.kind == "POLYLINE" ? "VERTEX" : record.integer(66) == 1 ? "ATTRIB" : nullptr;
    }
  }
}

// INSERTs name blocks that are defined; the deepest nesting of blocks.
int nestingDepth(const std::vector<Record>& records) {
  std::map<std::string, std::set<std::string>> inserted;  // by block name
  for (const Record& record : records)
    if (record.kind == "BLOCK") inserted[record.all(2)[0]];
  for (const Record& record : records)
    if (record.kind == "INSERT") {
      const std::string name = record.all(2)[0];
      EXPECT_TRUE(inserted.count(name)) << "INSERT of " << name;
      if (!record.block.empty()) inserted[record.block].insert(name);
    }
  std::map<std::string, int> depth;
  int deepest = 0;
  // Deepest chain below each block; three rounds reach two deep and show a
  // third level if there were one.
  for (int round = 0; round < 4; ++round)
    for (const auto& [block, children] : inserted) {
      for (const std::string& child : children) depth[block] = std::max(depth[block], depth[child] + 1);
      deepest = std::max(deepest, depth[block]);
    }
  return deepest;
}

// The world centre of a circle whose centre is C in the OCS of normal N, by
// the arbitrary axis rule.
void expectOnSite(const Record& circle) {
  const double n[3] = {circle.real(210, 0), circle.real(220, 0), circle.real(230, 1)};
  const double c[3] = {circle.real(10, 0), circle.real(20, 0), circle.real(30, 0)};
  const bool nearZ = std::fabs(n[0]) < 1.0 / 64 && std::fabs(n[1]) < 1.0 / 64;
  double ax[3] = {nearZ ? n[2] : -n[1], nearZ ? 0.0 : n[0], nearZ ? -n[0] : 0.0};  // (0,1,0) or (0,0,1) x N
  const double length = std::sqrt(ax[0] * ax[0] + ax[1] * ax[1] + ax[2] * ax[2]);
  for (double& value : ax) value /= length;
  const double ay[3] = {n[1] * ax[2] - n[2] * ax[1], n[2] * ax[0] - n[0] * ax[2], n[0] * ax[1] - n[1] * ax[0]};
  const double x = c[0] * ax[0] + c[1] * ay[0] + c[2] * n[0], y = c[0] * ax[1] + c[1] * ay[1] + c[2] * n[1];
  // Numbers of 6 significant digits round by up to half a millimetre.
  EXPECT_TRUE(x > -2 && x < 420002 && y > -2 && y < 297002) << "circle at " << x << ", " << y;
}

struct MixCase {
  const char* name;
  DrawingWriter write;
  DrawingOptions options;
  int nesting;  // of block definitions
};

TEST(Drawings, EveryMixHoldsTogetherAsCadProgramsWriteIt) {
  const MixCase cases[] = {
      {"classic", writeClassicDrawing, {300'000, 4, 40, true, false, 0}, 0},
      {"modern", writeModernDrawing, {600'000, 2, 300, true, false, 0}, 2},
      {"blocks", writeBlocksDrawing, {300'000, 3, 300, false, false, 0}, 2},
      {"hatches", writeHatchesDrawing, {0, 5, 300, true, true, 300}, 0},
  };
  for (const MixCase& mix : cases) {
    SCOPED_TRACE(mix.name);
    const std::vector<Record> records = written(mix.write, mix.options);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, "EOF");
    expectHandlesHoldTogether(records);
    expectRunsClose(records);
    EXPECT_EQ(nestingDepth(records), mix.nesting);
    int hatches = 0;
    for (const Record& record : records) {
      expectCountsAgree(record);
      if (record.kind == "CIRCLE" && record.section == "ENTITIES" && record.all(67).empty()) expectOnSite(record);
      hatches += record.kind == "HATCH";
    }
    if (mix.options.hatchCount) {
      EXPECT_EQ(hatches, 300);
    }
  }
}

TEST(ObjectCounter, CountsEachObjectLineHoweverTheJsonArrives) {
  struct Case {
    const char* json;
    bool frame;
    const char* kinds;
  };
  const Case cases[] = {
      {"{\"objects\": [\n  {\"type\":\"line\",\"dim\":2},\n  {\"type\":\"text\",\"string\":\"\\n  "
       "{\\\"type\\\":\\\"arc\\\"\"},\n"
       "  {\"type\":\"line\",\"dim\":3}],\n \"messages\": []}",
       true, "2 line, 1 text"},
      {"{\"objects\": [],\n \"messages\": []}\n", true, ""},
      {"orvhost: cannot write /dev/stdout\n", false, ""},
  };
  for (const Case& test : cases) {
    const std::string json = test.json;
    for (size_t piece : {1, 2, 7, 4096}) {
      SCOPED_TRACE(json.substr(0, 20) + ", pieces of " + std::to_string(piece));
      ObjectCounter counter;
      for (size_t at = 0; at < json.size(); at += piece) counter.feed(std::string_view(json).substr(at, piece));
      counter.finish();
      EXPECT_EQ(counter.sawFrame(), test.frame);
      EXPECT_EQ(counter.kinds(), test.kinds);
    }
  }
}

}  // namespace
}  // namespace drawport_bench
