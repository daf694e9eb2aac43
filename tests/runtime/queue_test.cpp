// Tests of the runtime's QUEUE: adding, reading, rewriting, deleting and sorting entries,
// with the error state after each operation.
#include "runtime/queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "runtime/errors.h"

namespace rt {
namespace {

struct Entry {
  String<8> name;
  int32_t number;
  double real;
};

#pragma pack(push, 1)
struct PackedEntry {
  String<3> tag;
  int32_t number;  // misaligned in the packed layout
  String<5> text;
};
#pragma pack(pop)

Queue<Entry> Make(const std::vector<std::pair<std::string, int32_t>>& items) {
  Queue<Entry> q;
  for (const auto& [name, number] : items) {
    q.buf.name = name;
    q.buf.number = number;
    q.buf.real = number / 2.0;
    q.Add();
  }
  return q;
}

// "name:number" of every entry, in order, read through Get.
std::vector<std::string> Contents(Queue<Entry>& q) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= q.Records(); ++i) {
    q.Get(i);
    out.push_back(q.buf.name.str() + ":" + std::to_string(q.buf.number));
  }
  return out;
}

using Strings = std::vector<std::string>;

TEST(Queue, StartsEmptyWithBlankBuffer) {
  Queue<Entry> q;
  EXPECT_EQ(q.Records(), 0);
  EXPECT_EQ(q.Pointer(), 0);
  EXPECT_TRUE(q.buf.name.blank());
  EXPECT_EQ(q.buf.number, 0);
  EXPECT_EQ(q.buf.real, 0.0);
}

TEST(Queue, AddAppendsAndSetsPointer) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}});
  EXPECT_EQ(q.Records(), 2);
  EXPECT_EQ(q.Pointer(), 2);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(Contents(q), (Strings{"a:1", "b:2"}));
}

struct AddAtCase {
  int32_t pos;
  Strings expected;
  int32_t pointer;
};

class QueueAddAt : public ::testing::TestWithParam<AddAtCase> {};

TEST_P(QueueAddAt, InsertsOrAppends) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}, {"c", 3}});
  q.buf.name = "x";
  q.buf.number = 9;
  q.Add(GetParam().pos);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Pointer(), GetParam().pointer);
  EXPECT_EQ(Contents(q), GetParam().expected);
}

const AddAtCase kAddAtCases[] = {
    {1, {"x:9", "a:1", "b:2", "c:3"}, 1},  {2, {"a:1", "x:9", "b:2", "c:3"}, 2},
    {3, {"a:1", "b:2", "x:9", "c:3"}, 3},  {4, {"a:1", "b:2", "c:3", "x:9"}, 4},
    {99, {"a:1", "b:2", "c:3", "x:9"}, 4}, {0, {"a:1", "b:2", "c:3", "x:9"}, 4},
    {-5, {"a:1", "b:2", "c:3", "x:9"}, 4},
};
INSTANTIATE_TEST_SUITE_P(Table, QueueAddAt, ::testing::ValuesIn(kAddAtCases));

TEST(Queue, GetOutOfRangeIsErrorAndKeepsBuffer) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}});
  q.Get(1);
  q.buf.name = "mine";
  for (int32_t pos : {0, -1, 3, 1000}) {
    q.Get(pos);
    EXPECT_EQ(ErrorCode(), kEntryNotFound) << pos;
    EXPECT_EQ(q.buf.name, "mine");
    EXPECT_EQ(q.Pointer(), 1);
  }
  q.Get(2);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.buf.name, "b");
  EXPECT_EQ(q.Pointer(), 2);
}

TEST(Queue, GetByKeyFindsFirstMatch) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}, {"a", 3}, {"b", 4}});
  q.buf.name = "b";
  q.buf.number = 0;
  q.GetByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Pointer(), 2);
  EXPECT_EQ(q.buf.number, 2);

  q.buf.name = "a";
  q.buf.number = 3;
  q.GetByKey(&Entry::name, &Entry::number);
  EXPECT_EQ(q.Pointer(), 3);

  q.buf.number = 4;
  q.GetByKey(&Entry::number);
  EXPECT_EQ(q.Pointer(), 4);
  EXPECT_EQ(q.buf.name, "b");
}

TEST(Queue, GetByKeyComparesExactlyButIgnoresTrailingBlanks) {
  Queue<Entry> q = Make({{"Name", 1}});
  q.buf.name = "Name    ";
  q.GetByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kNoError);
  q.buf.name = "NAME";
  q.GetByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
  q.buf.name = " Name";
  q.GetByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
}

TEST(Queue, GetByKeyFailureKeepsBufferAndPointer) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}});
  q.Get(1);
  q.buf.name = "zz";
  q.buf.number = 77;
  q.GetByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
  EXPECT_EQ(q.buf.name, "zz");
  EXPECT_EQ(q.buf.number, 77);
  EXPECT_EQ(q.Pointer(), 1);
  Queue<Entry> empty;
  empty.GetByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
}

TEST(Queue, SuccessClearsAnEarlierError) {
  Queue<Entry> q = Make({{"a", 1}});
  q.Get(5);
  ASSERT_EQ(ErrorCode(), kEntryNotFound);
  q.Get(1);
  EXPECT_EQ(ErrorCode(), kNoError);
  q.Get(5);
  q.Add();
  EXPECT_EQ(ErrorCode(), kNoError);
}

TEST(Queue, AddByKeyInsertsAfterEqualKeys) {
  Queue<Entry> q;
  const std::vector<std::pair<std::string, int32_t>> items = {
      {"m", 1}, {"c", 2}, {"x", 3}, {"c", 4}, {"a", 5}, {"m", 6}, {"c", 7}};
  for (const auto& [name, number] : items) {
    q.buf.name = name;
    q.buf.number = number;
    q.AddByKey(&Entry::name);
    EXPECT_EQ(ErrorCode(), kNoError);
    const int32_t at = q.Pointer();
    q.Get(at);
    EXPECT_EQ(q.buf.number, number);  // the pointer names the entry just added
  }
  EXPECT_EQ(Contents(q), (Strings{"a:5", "c:2", "c:4", "c:7", "m:1", "m:6", "x:3"}));
}

TEST(Queue, AddByKeyWithSeveralAndDescendingKeys) {
  Queue<Entry> q;
  const std::vector<std::pair<std::string, int32_t>> items = {
      {"b", 1}, {"a", 1}, {"b", 3}, {"a", 2}, {"b", 2}};
  for (const auto& [name, number] : items) {
    q.buf.name = name;
    q.buf.number = number;
    q.AddByKey(&Entry::name, Descending(&Entry::number));
  }
  EXPECT_EQ(Contents(q), (Strings{"a:2", "a:1", "b:3", "b:2", "b:1"}));
}

TEST(Queue, PutRewritesCurrentEntry) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}, {"c", 3}});
  q.Get(2);
  q.buf.number = 20;
  q.Put();
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Pointer(), 2);
  EXPECT_EQ(Contents(q), (Strings{"a:1", "b:20", "c:3"}));
}

TEST(Queue, PutWithoutCurrentEntryIsError) {
  Queue<Entry> q;
  q.Put();
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
  q = Make({{"a", 1}});
  q.Get(1);
  q.Delete();
  q.Put();  // the pointer names a position that no longer holds an entry
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
  EXPECT_EQ(q.Records(), 0);
}

TEST(Queue, PutByKeyMovesEntryToKeepOrder) {
  Queue<Entry> q = Make({{"a", 1}, {"c", 2}, {"e", 3}, {"g", 4}});
  q.Get(1);
  q.buf.name = "f";
  q.PutByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Pointer(), 3);
  EXPECT_EQ(Contents(q), (Strings{"c:2", "e:3", "f:1", "g:4"}));

  q.Get(4);
  q.buf.name = "b";
  q.PutByKey(&Entry::name);
  EXPECT_EQ(q.Pointer(), 1);
  EXPECT_EQ(Contents(q), (Strings{"b:4", "c:2", "e:3", "f:1"}));

  q.Get(2);
  q.buf.number = 9;  // same key: stays in place
  q.PutByKey(&Entry::name);
  EXPECT_EQ(q.Pointer(), 2);
  EXPECT_EQ(Contents(q), (Strings{"b:4", "c:9", "e:3", "f:1"}));

  Queue<Entry> empty;
  empty.PutByKey(&Entry::name);
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
  EXPECT_EQ(empty.Records(), 0);
}

TEST(Queue, DeleteRemovesCurrentEntry) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}, {"c", 3}});
  q.Get(2);
  q.Delete();
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Records(), 2);
  EXPECT_EQ(q.Pointer(), 2);
  EXPECT_EQ(Contents(q), (Strings{"a:1", "c:3"}));
}

TEST(Queue, DeletingBackwardsEmptiesTheQueue) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}, {"c", 3}});
  for (int32_t i = q.Records(); i >= 1; --i) {
    q.Get(i);
    q.Delete();
    EXPECT_EQ(ErrorCode(), kNoError);
  }
  EXPECT_EQ(q.Records(), 0);
  q.Delete();
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
}

TEST(Queue, FreeEmptiesButKeepsBuffer) {
  Queue<Entry> q = Make({{"a", 1}, {"b", 2}});
  q.buf.name = "kept";
  q.Free();
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Records(), 0);
  EXPECT_EQ(q.Pointer(), 0);
  EXPECT_EQ(q.buf.name, "kept");
  q.Get(1);
  EXPECT_EQ(ErrorCode(), kEntryNotFound);
}

struct SortCase {
  const char* what;
  std::vector<std::pair<std::string, int32_t>> items;
  int keys;  // which key set, see ApplySort
  Strings expected;
};

void ApplySort(Queue<Entry>& q, int keys) {
  switch (keys) {
    case 0:
      q.Sort(&Entry::name);
      break;
    case 1:
      q.Sort(&Entry::number);
      break;
    case 2:
      q.Sort(Descending(&Entry::name));
      break;
    case 3:
      q.Sort(&Entry::name, Descending(&Entry::number));
      break;
    case 4:
      q.Sort(Descending(&Entry::real));
      break;
  }
}

class QueueSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(QueueSort, Sorts) {
  Queue<Entry> q = Make(GetParam().items);
  ApplySort(q, GetParam().keys);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.Pointer(), 0);
  EXPECT_EQ(Contents(q), GetParam().expected) << GetParam().what;
}

const SortCase kSortCases[] = {
    {"empty", {}, 0, {}},
    {"by text", {{"b", 1}, {"c", 2}, {"a", 3}}, 0, {"a:3", "b:1", "c:2"}},
    {"stable on equal text",
     {{"b", 1}, {"a", 2}, {"b", 3}, {"a", 4}},
     0,
     {"a:2", "a:4", "b:1", "b:3"}},
    {"text is not numeric", {{"9", 1}, {"10", 2}}, 0, {"10:2", "9:1"}},
    {"upper before lower", {{"b", 1}, {"B", 2}, {"a", 3}}, 0, {"B:2", "a:3", "b:1"}},
    {"shorter sorts first", {{"ab", 1}, {"a", 2}, {"a b", 3}}, 0, {"a:2", "a b:3", "ab:1"}},
    {"numbers by value",
     {{"x", 10}, {"y", -3}, {"z", 9}, {"w", 0}},
     1,
     {"y:-3", "w:0", "z:9", "x:10"}},
    {"descending text, stable",
     {{"a", 1}, {"c", 2}, {"a", 3}, {"b", 4}},
     2,
     {"c:2", "b:4", "a:1", "a:3"}},
    {"two keys", {{"b", 1}, {"a", 1}, {"b", 5}, {"a", 7}}, 3, {"a:7", "a:1", "b:5", "b:1"}},
    {"descending real", {{"p", 1}, {"q", 4}, {"r", -2}}, 4, {"q:4", "p:1", "r:-2"}},
};
INSTANTIATE_TEST_SUITE_P(Table, QueueSort, ::testing::ValuesIn(kSortCases));

TEST(Queue, SortOfManyMatchesStableSort) {
  std::mt19937 rng(42);
  std::vector<std::pair<std::string, int32_t>> items;
  for (int32_t i = 0; i < 5000; ++i) {
    items.emplace_back(std::string(1, static_cast<char>('a' + rng() % 20)), i);
  }
  Queue<Entry> q = Make(items);
  q.Sort(&Entry::name);
  std::stable_sort(items.begin(), items.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  Strings expected;
  for (const auto& [name, number] : items) expected.push_back(name + ":" + std::to_string(number));
  EXPECT_EQ(Contents(q), expected);
}

TEST(Queue, SortThenAddByKeyKeepsOrder) {
  Queue<Entry> q = Make({{"d", 1}, {"b", 2}, {"f", 3}});
  q.Sort(&Entry::name);
  q.buf.name = "c";
  q.buf.number = 4;
  q.AddByKey(&Entry::name);
  EXPECT_EQ(q.Pointer(), 2);
  EXPECT_EQ(Contents(q), (Strings{"b:2", "c:4", "d:1", "f:3"}));
}

TEST(Queue, PackedRecordsWork) {
  Queue<PackedEntry> q;
  for (int32_t n : {3, 1, 2}) {
    q.buf.tag = "t";
    q.buf.number = n;
    q.buf.text = std::to_string(n * 11);
    q.AddByKey(&PackedEntry::number);
  }
  q.Get(1);
  EXPECT_EQ(int32_t{q.buf.number}, 1);  // a copy: EXPECT_EQ binds references
  q.buf.number = 3;
  q.GetByKey(&PackedEntry::tag, &PackedEntry::number);
  EXPECT_EQ(ErrorCode(), kNoError);
  EXPECT_EQ(q.buf.text, "33");
  q.Sort(Descending(&PackedEntry::number));
  q.Get(1);
  EXPECT_EQ(int32_t{q.buf.number}, 3);
}

}  // namespace
}  // namespace rt
