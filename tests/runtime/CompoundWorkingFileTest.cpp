#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CompoundArchiveSupport.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/CompoundTesting.h"
#include "runtime/Files.h"

using namespace compound_test;  // the archive builders of this test folder

// The working file of an archive open for changing: its size against the
// packed size, the bytes each change writes, and what a kill at any write
// leaves behind.
namespace {

// ---- Counting the archive code's writes ----

struct WriteCount {
  uint64_t bytes = 0;
  uint64_t entryBytes = 0;  // bytes of entries copied or moved
};

WriteCount& Counted() {
  static WriteCount count;
  return count;
}

void CountWrite(const char* step, uint32_t bytes) {
  Counted().bytes += bytes;
  if (std::string(step) == "entry bytes") {
    Counted().entryBytes += bytes;
  }
}

class CountingWrites {
 public:
  CountingWrites() {
    Counted() = WriteCount{};
    SetCompoundWriteObserver(CountWrite);
  }
  ~CountingWrites() { SetCompoundWriteObserver(nullptr); }
  CountingWrites(const CountingWrites&) = delete;
  CountingWrites& operator=(const CountingWrites&) = delete;
};

class CompoundWorkingFileTest : public ::testing::Test {
 protected:
  std::string GameName(const char* file) const { return folder + file; }

  std::string folder = platform::CurrentFolderName();
};

// The entry bytes of the appends' test: sizes from 1 to 300 bytes, each
// entry's bytes telling its number.
std::string EntryName(int number) { return "entry" + std::to_string(number) + ".dat"; }

std::string EntryData(int number) {
  const size_t size = 1 + static_cast<size_t>(number * 37 % 300);
  std::string data = std::to_string(number) + ":";
  data.resize(std::max(size, data.size()), static_cast<char>('a' + number % 26));
  return data;
}

uint64_t PackedSizeOf(const std::map<std::string, std::string>& entries) {
  uint64_t size = kCompoundHeaderSize;
  for (const auto& [name, data] : entries) {
    size += data.size() + kCompoundEntrySize;
  }
  return size;
}

TEST_F(CompoundWorkingFileTest, TenThousandAppendsKeepTheFileNearItsPackedSize) {
  StoreBytes("many.lmp", BuildArchive({}));
  CompoundHandle compound = OpenCompound(GameName("many.lmp").c_str(), true);
  ASSERT_NE(compound, nullptr);
  std::map<std::string, std::string> stored;
  uint64_t appendedBytes = 0;
  std::vector<std::pair<int, std::pair<uint64_t, uint64_t>>> table;  // entries: file size, packed size
  {
    CountingWrites counting;
    for (int number = 1; number <= 10000; ++number) {
      const std::string data = EntryData(number);
      ASSERT_TRUE(AddEntry(compound, EntryName(number).c_str(), data)) << number;
      stored[EntryName(number)] = data;
      appendedBytes += data.size() + kCompoundEntrySize;
      if (number % 100 == 0 || number < 100) {
        const uint64_t fileSize = std::filesystem::file_size("many.lmp");
        const uint64_t packed = PackedSizeOf(stored);
        ASSERT_LE(fileSize, 2 * packed + 64 * 1024) << "after " << number << " appends";
        if (number == 1 || number == 10 || number == 100 || number == 1000 || number == 10000 ||
            number % 2000 == 0) {
          table.push_back({number, {fileSize, packed}});
        }
      }
    }
    // Each append writes about as much as its entry and its record; the
    // directory is written afresh only now and then.
    EXPECT_LE(Counted().bytes, 4 * appendedBytes);
  }
  std::printf("%8s %12s %12s\n", "entries", "file bytes", "packed bytes");
  for (const auto& [entries, sizes] : table) {
    std::printf("%8d %12llu %12llu\n", entries, static_cast<unsigned long long>(sizes.first),
                static_cast<unsigned long long>(sizes.second));
  }
  // Before the close, what is stored already opens with every entry.
  std::filesystem::copy_file("many.lmp", "copy.lmp");
  ASSERT_TRUE(CloseCompound(compound));
  EXPECT_EQ(std::filesystem::file_size("many.lmp"), PackedSizeOf(stored));
  for (const char* file : {"copy.lmp", "many.lmp"}) {
    SCOPED_TRACE(file);
    CompoundHandle reading = OpenCompound(GameName(file).c_str(), false);
    ASSERT_NE(reading, nullptr);
    EXPECT_EQ(GetCompoundCount(reading), 10000);
    for (int number = 1; number <= 10000; number += 7) {
      ASSERT_EQ(ReadEntry(reading, EntryName(number).c_str()), EntryData(number)) << number;
    }
    CloseCompound(reading);
  }
}

TEST_F(CompoundWorkingFileTest, UpdatesAndDeletionsReuseTheFreedSpace) {
  StoreBytes("cycle.lmp", BuildArchive({{"kept.dat", std::string(5000, 'k')}}));
  CompoundHandle compound = OpenCompound(GameName("cycle.lmp").c_str(), true);
  ASSERT_NE(compound, nullptr);
  // A save game written again and again, under one name and under fresh names.
  for (int round = 0; round < 300; ++round) {
    const std::string data(2000 + round % 7 * 300, static_cast<char>('a' + round % 26));
    uint32_t offset = 0;
    FileHandle file = AppendCompoundReplacing(compound, "save.sav", offset);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(WriteFileExactly(file, data.data(), static_cast<uint32_t>(data.size())));
    ASSERT_TRUE(UpdateCompound(compound, static_cast<uint32_t>(data.size())));
    const std::string name = "slot" + std::to_string(round % 3) + ".sav";
    DeleteCompound(compound, name.c_str());
    ASSERT_TRUE(AddEntry(compound, name.c_str(), data)) << round;
    const uint64_t packed = kCompoundHeaderSize + 5000 + 4 * data.size() + 5 * kCompoundEntrySize;
    ASSERT_LE(std::filesystem::file_size("cycle.lmp"), 3 * packed + 64 * 1024) << round;
  }
  ASSERT_TRUE(CloseCompound(compound));
  compound = OpenCompound(GameName("cycle.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  EXPECT_EQ(GetCompoundCount(compound), 5);
  EXPECT_EQ(ReadEntry(compound, "kept.dat"), std::string(5000, 'k'));
  EXPECT_EQ(ReadEntry(compound, "save.sav"), std::string(2000 + 299 % 7 * 300, static_cast<char>('a' + 299 % 26)));
  CloseCompound(compound);
}

TEST_F(CompoundWorkingFileTest, ClosingAfterASmallAppendDoesNotCopyTheArchive) {
  const std::string big(1 << 20, 'b');
  StoreBytes("big.lmp", BuildArchive({{"big.dat", big}, {"small.dat", "small"}}));
  struct stat before;
  ASSERT_EQ(stat("big.lmp", &before), 0);
  CompoundHandle compound = OpenCompound(GameName("big.lmp").c_str(), true);
  ASSERT_NE(compound, nullptr);
  {
    CountingWrites counting;
    ASSERT_TRUE(AddEntry(compound, "note.txt", "hello"));
    ASSERT_TRUE(CloseCompound(compound));
    EXPECT_LE(Counted().bytes, 1024u);
  }
  // Still the same file: the archive was changed in place, not copied.
  struct stat after;
  ASSERT_EQ(stat("big.lmp", &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  CompoundHandle reading = OpenCompound(GameName("big.lmp").c_str(), false);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(ReadEntry(reading, "note.txt"), "hello");
  EXPECT_EQ(ReadEntry(reading, "big.dat"), big);
  CloseCompound(reading);
  EXPECT_EQ(std::filesystem::file_size("big.lmp"), kCompoundHeaderSize + big.size() + 5 + 5 + 3 * kCompoundEntrySize);
}

TEST_F(CompoundWorkingFileTest, PackingMovesOnlyTheEntriesNotInPlace) {
  // Deleting c leaves a, b in place; only d moves down, by less than its size.
  StoreBytes("pack.lmp", BuildArchive({{"a", std::string(100, 'a')},
                                        {"b", std::string(200, 'b')},
                                        {"c", std::string(30, 'c')},
                                        {"d", std::string(400, 'd')}}));
  CompoundHandle compound = OpenCompound(GameName("pack.lmp").c_str(), true);
  ASSERT_NE(compound, nullptr);
  ASSERT_TRUE(DeleteCompound(compound, "c"));
  {
    CountingWrites counting;
    ASSERT_TRUE(PackCompound(compound));
    // d's new place overlaps its old one, so it goes through a scratch area.
    EXPECT_EQ(Counted().entryBytes, 2 * 400u);
  }
  ASSERT_TRUE(CloseCompound(compound));
  EXPECT_EQ(LoadBytes("pack.lmp"), BuildArchive({{"a", std::string(100, 'a')},
                                                  {"b", std::string(200, 'b')},
                                                  {"d", std::string(400, 'd')}}));
}

// ---- A kill at any write ----

// What an archive may hold after a kill: every name of `kept` with its
// bytes, each name of `either` with one of its contents or missing
// (nullopt), and nothing else.
struct Expectation {
  std::map<std::string, std::string> kept;
  std::map<std::string, std::vector<std::optional<std::string>>> either;
};

struct CrashCase {
  const char* phase;
  std::vector<std::pair<std::string, std::string>> stored;  // the archive before
  std::vector<std::string> unlisted;  // stored names whose record is left out (free space)
  std::function<void(CompoundHandle compound)> change;
  Expectation expected;
};

// An archive whose unlisted entries are bytes no record refers to.
Bytes BuildWithFreeSpace(const CrashCase& test) {
  Bytes bytes = BuildArchive(test.stored);
  const uint32_t directoryOffset = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24;
  Bytes kept(bytes.begin(), bytes.begin() + directoryOffset);
  uint32_t records = 0;
  for (size_t index = 0; index < test.stored.size(); ++index) {
    const std::string& name = test.stored[index].first;
    if (std::find(test.unlisted.begin(), test.unlisted.end(), name) != test.unlisted.end()) {
      continue;
    }
    const auto record = bytes.begin() + directoryOffset + index * kCompoundEntrySize;
    kept.insert(kept.end(), record, record + kCompoundEntrySize);
    ++records;
  }
  PutWord(kept, 8, records * kCompoundEntrySize);
  return kept;
}

int& StepsLeft() {
  static int steps = 0;
  return steps;
}

void KillAtStep(const char*, uint32_t) {
  if (--StepsLeft() == 0) {
    raise(SIGKILL);
  }
}

void WriteEntry(CompoundHandle compound, const char* name, const std::string& data, bool replacing) {
  uint32_t offset = 0;
  FileHandle file = replacing ? AppendCompoundReplacing(compound, name, offset)
                              : AppendCompound(compound, name, offset);
  if (file != nullptr && WriteFileExactly(file, data.data(), static_cast<uint32_t>(data.size()))) {
    UpdateCompound(compound, static_cast<uint32_t>(data.size()));
  }
}

// Runs the change in a child process that is killed at the step-th write;
// true when the change finished before that.
bool RunKilledAt(const std::string& name, const CrashCase& test, int step) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    CompoundHandle compound = OpenCompound(name.c_str(), true);
    if (compound == nullptr) {
      _exit(2);
    }
    StepsLeft() = step;
    SetCompoundWriteObserver(KillAtStep);
    test.change(compound);
    CloseCompound(compound);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) {
    EXPECT_EQ(WEXITSTATUS(status), 0);
    return true;
  }
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  return false;
}

void ExpectSurvivor(const std::string& name, const Expectation& expected) {
  CompoundHandle compound = OpenCompound(name.c_str(), false);
  ASSERT_NE(compound, nullptr);
  int32_t present = 0;
  for (const auto& [entry, data] : expected.kept) {
    EXPECT_EQ(ReadEntry(compound, entry.c_str()), data) << entry;
    ++present;
  }
  for (const auto& [entry, allowed] : expected.either) {
    const std::string read = ReadEntry(compound, entry.c_str());
    const std::optional<std::string> found =
        read == "<missing>" ? std::nullopt : std::optional<std::string>(read);
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), found), allowed.end()) << entry << ": " << read;
    present += found ? 1 : 0;
  }
  // No record but these, and none twice.
  int32_t named = 0;
  for (int32_t index = 0; index < GetCompoundCount(compound); ++index) {
    char entryName[kCompoundNameSize] = {};
    GetCompoundInfo(compound, index, entryName);
    named += entryName[0] != '\0' ? 1 : 0;
  }
  EXPECT_EQ(named, present);
  CloseCompound(compound);
  // The survivor takes changes and packs again.
  compound = OpenCompound(name.c_str(), true);
  ASSERT_NE(compound, nullptr);
  EXPECT_TRUE(AddEntry(compound, "after.dat", "after the crash"));
  EXPECT_TRUE(CloseCompound(compound));
  compound = OpenCompound(name.c_str(), false);
  ASSERT_NE(compound, nullptr);
  EXPECT_EQ(ReadEntry(compound, "after.dat"), "after the crash");
  for (const auto& [entry, data] : expected.kept) {
    EXPECT_EQ(ReadEntry(compound, entry.c_str()), data) << entry;
  }
  CloseCompound(compound);
}

TEST_F(CompoundWorkingFileTest, AKillAtAnyWriteLosesAtMostTheEntryBeingWritten) {
  const std::string small(40, 's');
  const std::string large(3000, 'L');
  const std::string other(700, 'o');
  using Either = std::vector<std::optional<std::string>>;
  const CrashCase cases[] = {
      {"append behind a fresh directory",
       {{"a.dat", small}, {"b.dat", other}},
       {},
       [&](CompoundHandle compound) { WriteEntry(compound, "new.dat", large, false); },
       {{{"a.dat", small}, {"b.dat", other}}, {{"new.dat", Either{std::nullopt, large}}}}},
      {"append into free space with a new record",
       {{"a.dat", small}, {"gap", std::string(500, 'g')}, {"b.dat", other}},
       {"gap"},
       [&](CompoundHandle compound) { WriteEntry(compound, "new.dat", small, false); },
       {{{"a.dat", small}, {"b.dat", other}}, {{"new.dat", Either{std::nullopt, small}}}}},
      {"delete, then append the same name into free space",
       {{"a.dat", small}, {"gap", std::string(500, 'g')}, {"b.dat", other}},
       {"gap"},
       [&](CompoundHandle compound) {
         DeleteCompound(compound, "b.dat");
         WriteEntry(compound, "b.dat", small + "!", false);
       },
       {{{"a.dat", small}}, {{"b.dat", Either{other, small + "!"}}}}},
      {"replace an entry behind a fresh directory",
       {{"a.dat", small}, {"b.dat", other}},
       {},
       [&](CompoundHandle compound) { WriteEntry(compound, "a.dat", large, true); },
       {{{"b.dat", other}}, {{"a.dat", Either{small, large}}}}},
      {"replace an entry into free space",
       {{"a.dat", small}, {"gap", std::string(900, 'g')}, {"b.dat", other}},
       {"gap"},
       [&](CompoundHandle compound) { WriteEntry(compound, "b.dat", other + other.substr(0, 100), true); },
       {{{"a.dat", small}}, {{"b.dat", Either{other, other + other.substr(0, 100)}}}}},
      {"pack moving entries into a gap",
       {{"first.dat", large}, {"a.dat", small}, {"b.dat", other}},
       {},
       [&](CompoundHandle compound) {
         DeleteCompound(compound, "first.dat");
         PackCompound(compound);
       },
       {{{"a.dat", small}, {"b.dat", other}}, {{"first.dat", Either{std::nullopt, large}}}}},
      {"pack moving entries through the scratch area",
       {{"first.dat", small}, {"a.dat", large}, {"b.dat", other}},
       {},
       [&](CompoundHandle compound) {
         DeleteCompound(compound, "first.dat");
         PackCompound(compound);
       },
       {{{"a.dat", large}, {"b.dat", other}}, {{"first.dat", Either{std::nullopt, small}}}}},
      {"close packing free space away",
       {{"a.dat", small}, {"gap", std::string(500, 'g')}, {"b.dat", other}, {"c.dat", large}},
       {"gap"},
       [&](CompoundHandle compound) { WriteEntry(compound, "new.dat", std::string(100, 'n'), false); },
       {{{"a.dat", small}, {"b.dat", other}, {"c.dat", large}},
        {{"new.dat", Either{std::nullopt, std::string(100, 'n')}}}}},
  };
  const std::string name = GameName("crash.lmp");
  for (const CrashCase& test : cases) {
    SCOPED_TRACE(test.phase);
    int step = 1;
    for (; step < 200; ++step) {
      StoreBytes("crash.lmp", BuildWithFreeSpace(test));
      if (RunKilledAt(name, test, step)) {
        break;
      }
      SCOPED_TRACE("killed at write " + std::to_string(step));
      ExpectSurvivor(name, test.expected);
      if (HasFailure()) {
        return;
      }
    }
    EXPECT_GT(step, 3) << "the change writes in several steps";
    EXPECT_LT(step, 200);
  }
}

TEST_F(CompoundWorkingFileTest, StaleTemporariesGoAtTheNextOpen) {
  StoreBytes("kept.lmp", BuildArchive({{"a", "1"}}));
  for (const char* stale : {"kept.lmp.tmp", "kept.lmp.new"}) {
    std::ofstream(stale, std::ios::binary) << std::string(1000, 'x');
  }
  std::ofstream("other.lmp.tmp", std::ios::binary) << "not ours";
  CompoundHandle compound = OpenCompound(GameName("kept.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  EXPECT_FALSE(std::filesystem::exists("kept.lmp.tmp"));
  EXPECT_FALSE(std::filesystem::exists("kept.lmp.new"));
  EXPECT_TRUE(std::filesystem::exists("other.lmp.tmp"));
  CloseCompound(compound);

  // An archive being created keeps its temporary while another handle opens
  // the previous one.
  CompoundHandle created = CreateCompound(GameName("kept.lmp").c_str());
  ASSERT_NE(created, nullptr);
  ASSERT_TRUE(AddEntry(created, "b", "2"));
  compound = OpenCompound(GameName("kept.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  CloseCompound(compound);
  ASSERT_TRUE(CloseCompound(created));
  compound = OpenCompound(GameName("kept.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  EXPECT_EQ(ReadEntry(compound, "b"), "2");
  CloseCompound(compound);
}

}  // namespace
