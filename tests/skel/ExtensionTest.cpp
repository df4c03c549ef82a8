#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FileFaults.h"
#include "TempDir.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/DebugExtension.h"
#include "skel/DefaultSkelExtension.h"
#include "skel/MeshAttachment.h"
#include "skel/SkelExtension.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/String.h"
#include "tarn/Path.h"

using skel::DebugExtension;
using skel::DefaultSkelExtension;

TEST(DebugExtension, CountsAllocationsAndFollowsBytesInUse) {
  DefaultSkelExtension heap;
  DebugExtension tracker(&heap);
  void* a = tracker.allocate(100, "a.cpp", 1);
  char* z = static_cast<char*>(tracker.allocateZeroed(50, "z.cpp", 2));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(z, nullptr);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(z[i], 0);
  EXPECT_EQ(tracker.getAllocations(), 2u);
  EXPECT_EQ(tracker.getUsedMemory(), 150u);
  const DebugExtension::Allocation* record = tracker.find(z);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->size, 50u);
  EXPECT_STREQ(record->file, "z.cpp");
  EXPECT_EQ(record->line, 2);

  std::memset(a, 7, 100);
  void* grown = tracker.reallocate(a, 300, "r.cpp", 3);
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(static_cast<char*>(grown)[99], 7);
  EXPECT_EQ(tracker.getReallocations(), 1u);
  EXPECT_EQ(tracker.getUsedMemory(), 350u);
  EXPECT_EQ(tracker.find(grown)->line, 3);

  void* fresh = tracker.reallocate(nullptr, 10, "n.cpp", 4);
  EXPECT_EQ(tracker.getUsedMemory(), 360u);
  EXPECT_EQ(tracker.reallocate(fresh, 0, "n.cpp", 5), nullptr);  // size 0 frees
  EXPECT_EQ(tracker.getUsedMemory(), 350u);

  tracker.release(grown, "f.cpp", 6);
  tracker.release(z, "f.cpp", 7);
  EXPECT_EQ(tracker.getFrees(), 2u);
  EXPECT_EQ(tracker.getUsedMemory(), 0u);
  EXPECT_EQ(tracker.getLiveCount(), 0u);
}

namespace {

// Hands out made-up addresses, never touched: the tracker only keys on them.
// Strides that are multiples of large powers of two pile blocks onto the same
// table slots, which is where lookups after removals go wrong.
class AddressExtension : public skel::SkelExtension {
 public:
  uintptr_t next = 0x100000;
  uintptr_t stride = 32;
  void* allocate(size_t, const char*, int) override { return hand(); }
  void* allocateZeroed(size_t, const char*, int) override { return hand(); }
  void* reallocate(void*, size_t size, const char*, int) override { return size ? hand() : nullptr; }
  void release(void*, const char*, int) override {}
  char* readFile(const skel::String&, size_t*) override { return nullptr; }

 private:
  void* hand() {
    void* block = reinterpret_cast<void*>(next);
    next += stride;
    return block;
  }
};

}  // namespace

TEST(DebugExtension, KeepsEveryRecordThroughGrowthAndRemovalsInAnyOrder) {
  AddressExtension heap;
  DebugExtension tracker(&heap);
  std::vector<void*> blocks;
  // A size by block: small ones, and now and then one too large for a
  // record's own field (4 GiB and over) or just under that bound.
  auto sizeOf = [](size_t k) -> size_t {
    if (k % 500 == 7) return (size_t{3} << 32) + k;
    if (k % 500 == 8) return UINT32_MAX - k % 2;
    return k + 1;
  };
  for (uintptr_t stride : {uintptr_t{32}, uintptr_t{32} << 10, uintptr_t{32} << 16, uintptr_t{48}}) {
    heap.stride = stride;
    for (int i = 0; i < 3000; ++i) blocks.push_back(tracker.allocate(sizeOf(blocks.size()), "t.cpp", i));
  }
  uint64_t total = 0;
  for (size_t k = 0; k < blocks.size(); ++k) total += sizeOf(k);
  EXPECT_EQ(tracker.getUsedMemory(), total);
  for (size_t k = 0; k < blocks.size(); ++k) {
    const DebugExtension::Allocation* record = tracker.find(blocks[k]);
    ASSERT_NE(record, nullptr) << k;
    EXPECT_EQ(record->size, sizeOf(k)) << k;
    EXPECT_EQ(record->line, static_cast<int>(k % 3000)) << k;
    EXPECT_STREQ(record->file, "t.cpp");
  }
  // Every third block, then the rest from the back: removals in the middle
  // of runs and at their ends.
  std::vector<void*> order;
  for (size_t i = 0; i < blocks.size(); i += 3) order.push_back(blocks[i]);
  for (size_t i = blocks.size(); i-- > 0;)
    if (i % 3 != 0) order.push_back(blocks[i]);

  testing::internal::CaptureStdout();
  uint64_t used = tracker.getUsedMemory();
  for (size_t k = 0; k < order.size(); ++k) {
    const DebugExtension::Allocation* record = tracker.find(order[k]);
    ASSERT_NE(record, nullptr) << k;
    used -= record->size;
    tracker.release(order[k], "t.cpp", 0);
    EXPECT_EQ(tracker.find(order[k]), nullptr);
    if (k % 1000 != 0) continue;
    for (size_t j = k + 1; j < order.size(); ++j) ASSERT_NE(tracker.find(order[j]), nullptr) << k << " " << j;
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(used, 0u);
  EXPECT_EQ(tracker.getUsedMemory(), 0u);
  EXPECT_EQ(tracker.getLiveCount(), 0u);
  EXPECT_EQ(tracker.getFrees(), blocks.size());
}

TEST(DebugExtension, ZeroSizeGivesNullAndLeavesNoRecord) {
  DefaultSkelExtension heap;
  DebugExtension tracker(&heap);
  EXPECT_EQ(tracker.allocate(0, "a.cpp", 1), nullptr);
  EXPECT_EQ(tracker.allocateZeroed(0, "a.cpp", 2), nullptr);
  EXPECT_EQ(tracker.getAllocations(), 2u);
  EXPECT_EQ(tracker.getLiveCount(), 0u);
  testing::internal::CaptureStdout();
  tracker.release(nullptr, "a.cpp", 3);  // like free(NULL): nothing to report
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(DebugExtension, ReportsAReleaseItNeverHandedOutAndKeepsItsCounters) {
  DefaultSkelExtension heap;
  DebugExtension tracker(&heap);
  void* block = tracker.allocate(64, "a.cpp", 1);
  void* other = tracker.allocate(16, "a.cpp", 2);
  tracker.release(block, "a.cpp", 3);
  ASSERT_EQ(tracker.getUsedMemory(), 16u);

  testing::internal::CaptureStdout();
  tracker.release(block, "twice.cpp", 42);
  std::string printed = testing::internal::GetCapturedStdout();
  char expected[256];
  std::snprintf(expected, sizeof(expected),
                "twice.cpp:42 (address %p): Double free or not allocated through SkelExtension\n", block);
  EXPECT_EQ(printed, expected);
  EXPECT_EQ(tracker.getFrees(), 1u);
  EXPECT_EQ(tracker.getUsedMemory(), 16u);
  EXPECT_EQ(tracker.getLiveCount(), 1u);

  int onStack = 0;
  testing::internal::CaptureStdout();
  tracker.release(&onStack, "stack.cpp", 9);  // must not reach free()
  EXPECT_NE(testing::internal::GetCapturedStdout().find("stack.cpp:9"), std::string::npos);
  tracker.release(other, "a.cpp", 4);
}

TEST(SkelExtension, OneProcessExtensionTracksRuntimeObjects) {
  skel::SkelExtension* process = skel::SkelExtension::getInstance();
  EXPECT_EQ(process, skel::SkelExtension::getInstance());
  auto* tracker = dynamic_cast<DebugExtension*>(process);
  ASSERT_NE(tracker, nullptr);
  uint64_t before = tracker->getUsedMemory();
  auto* name = new (__FILE__, __LINE__) skel::String("tracked");
  EXPECT_EQ(tracker->getUsedMemory(), before + sizeof(skel::String) + 8);
  EXPECT_STREQ(tracker->find(name)->file, __FILE__);
  delete name;
  EXPECT_EQ(tracker->getUsedMemory(), before);
  EXPECT_EQ(skel::SkelExtension::alloc<double>(SIZE_MAX / 4, __FILE__, __LINE__), nullptr);
}

// Two threads load and free the committed character again and again while a
// third poses one loaded before: the process's tracking layer keeps every
// record and reports no block freed twice.
TEST(SkelExtension, ThreadsLoadFreeAndPoseAtOnce) {
  auto* tracker = dynamic_cast<DebugExtension*>(skel::SkelExtension::getInstance());
  ASSERT_NE(tracker, nullptr);
  std::vector<unsigned char> atlasText, jsonText;
  ASSERT_TRUE(tarn::ReadFile("skel_data/Char01.atlas", atlasText));
  ASSERT_TRUE(tarn::ReadFile("skel_data/Char01.json", jsonText));
  const std::string json(jsonText.begin(), jsonText.end());
  struct Character {
    std::unique_ptr<skel::Atlas> atlas;
    std::unique_ptr<skel::SkeletonData> data;
  };
  auto load = [&] {
    Character c;
    c.atlas.reset(
        new skel::Atlas(reinterpret_cast<const char*>(atlasText.data()), atlasText.size(), skel::String(""), nullptr));
    skel::SkeletonJson reader(c.atlas.get());
    c.data.reset(reader.readSkeletonData(json.c_str()));
    return c;
  };
  const size_t live = tracker->getLiveCount();
  testing::internal::CaptureStdout();
  {
    Character posed = load();
    ASSERT_NE(posed.data, nullptr);
    std::atomic<int> loaded{0};
    auto loadAndFree = [&] {
      for (int i = 0; i < 150; ++i)
        if (load().data) ++loaded;
    };
    std::thread first(loadAndFree), second(loadAndFree);
    skel::Skeleton skeleton(posed.data.get());
    skel::AnimationStateData mixes(posed.data.get());
    skel::AnimationState state(&mixes);
    for (int frame = 0; frame < 600; ++frame) {
      // A new entry each time, as a game switching animations allocates.
      state.setAnimation(0, posed.data->getAnimations()[size_t(frame % 2)], true);
      state.update(1 / 60.0f);
      state.apply(skeleton);
      skeleton.updateWorldTransform();
    }
    first.join();
    second.join();
    EXPECT_EQ(loaded, 300);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(tracker->getLiveCount(), live);
}

// Threads making meshes at once draw distinct ids: the id keys a mesh's
// deform timelines. Made on the stack and unnamed, the meshes take no lock
// of the allocation layer that could order the threads.
TEST(VertexAttachment, ThreadsMakingMeshesAtOnceGetDistinctIds) {
  constexpr int perThread = 20000;
  std::vector<int> ids[2];
  std::atomic<int> ready{0};
  auto make = [&](std::vector<int>& out) {
    out.reserve(perThread);
    ++ready;
    while (ready < 2) {
    }
    for (int i = 0; i < perThread; ++i) out.push_back(skel::MeshAttachment(skel::String()).getId());
  };
  std::thread first(make, std::ref(ids[0])), second(make, std::ref(ids[1]));
  first.join();
  second.join();
  std::vector<int> all(ids[0]);
  all.insert(all.end(), ids[1].begin(), ids[1].end());
  std::sort(all.begin(), all.end());
  // Ids repeat after 65536 meshes; two threads' 40000 come from one run of the counter.
  EXPECT_EQ(std::unique(all.begin(), all.end()), all.end());
}

// A program installs its own extension before the runtime uses one; once it
// has, the extension stays. The first half runs in a new process (a death
// test started afresh), whose runtime is still untouched.
TEST(SkelExtension, AProgramInstallsItsOwnExtensionFirstOrNotAtAll) {
  struct Counting : skel::DefaultSkelExtension {
    void* allocate(size_t size, const char* file, int line) override {
      ++count;
      return DefaultSkelExtension::allocate(size, file, line);
    }
    void* allocateZeroed(size_t size, const char* file, int line) override {
      ++count;
      return DefaultSkelExtension::allocateZeroed(size, file, line);
    }
    int count = 0;
  };
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static Counting own;
        const bool installed = skel::SkelExtension::setInstance(&own);
        delete new (__FILE__, __LINE__) skel::String("counted");
        const bool again = skel::SkelExtension::setInstance(&own);
        std::exit(installed && !again && skel::SkelExtension::getInstance() == &own && own.count > 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");

  // Here the runtime has run already: the tracking extension stays.
  delete new (__FILE__, __LINE__) skel::String("tracked");
  Counting late;
  EXPECT_FALSE(skel::SkelExtension::setInstance(&late));
  EXPECT_NE(dynamic_cast<DebugExtension*>(skel::SkelExtension::getInstance()), nullptr);
}

TEST(DefaultSkelExtension, ReadsWholeFilesAndLeavesTheLengthAloneOnFailure) {
  tarn_test::TempDir dir;
  std::string bytes("one\0two\r\n", 9);
  dir.Write("data.bin", bytes);
  size_t length = 12345;
  char* data = skel::SkelExtension::readFileData(skel::String(dir.File("data.bin").c_str()), &length);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(length, 9u);
  EXPECT_EQ(std::string(data, length), bytes);
  skel::SkelExtension::free(data, __FILE__, __LINE__);

  length = 12345;
  EXPECT_EQ(skel::SkelExtension::readFileData(skel::String(dir.File("missing").c_str()), &length), nullptr);
  EXPECT_EQ(length, 12345u);
  EXPECT_EQ(skel::SkelExtension::readFileData(skel::String(dir.path().c_str()), &length), nullptr);
  EXPECT_EQ(length, 12345u);
  EXPECT_EQ(skel::SkelExtension::readFileData(skel::String(), &length), nullptr);
}

TEST(DefaultSkelExtension, BackslashPathsGoThroughThePathHelper) {
  tarn_test::TempDir dir;
  dir.Write("file.txt", "xyz");
  std::string windowsStyle = dir.path() + "\\file.txt";
  size_t length = 0;
  char* data = skel::SkelExtension::readFileData(skel::String(windowsStyle.c_str()), &length);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(length, 3u);
  skel::SkelExtension::free(data, __FILE__, __LINE__);
}

// Every reader refuses what is not a regular file at once: no hang on a pipe, no
// huge allocation for a directory, a device or a sparse file.
TEST(FileReading, RefusesAnythingButARegularFileWithTheReason) {
  tarn_test::TempDir dir;
  const struct {
    tarn_test::OddFile kind;
    const char* why;
  } cases[] = {
      {tarn_test::OddFile::Directory, "Is a directory"},
      {tarn_test::OddFile::Pipe, "Not a regular file"},
      {tarn_test::OddFile::DevZeroLink, "Not a regular file"},
      {tarn_test::OddFile::Sparse, "File too large"},
      {tarn_test::OddFile::LinkLoop, "Too many levels of symbolic links"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(tarn_test::OddFileName(c.kind));
    std::string path = dir.File("odd");
    ASSERT_TRUE(tarn_test::MakeOddFile(path, c.kind));
    std::vector<unsigned char> bytes{1, 2};
    std::string why;
    EXPECT_FALSE(tarn::ReadFile(path.c_str(), bytes, &why));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(why, c.why);
    EXPECT_FALSE(tarn::CheckRegularFile(path.c_str()));
    size_t length = 7;
    EXPECT_EQ(skel::SkelExtension::readFileData(skel::String(path.c_str()), &length), nullptr);
    EXPECT_EQ(length, 7u);
  }
  std::string why;
  std::vector<unsigned char> bytes;
  EXPECT_FALSE(tarn::ReadFile(dir.File("missing").c_str(), bytes, &why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_TRUE(tarn::ReadFile(dir.Write("empty", "").c_str(), bytes, &why));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(tarn::ReadFile(dir.Write("three", "abc").c_str(), bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
}

// A read that fails part way fails the whole read with its reason; an
// interrupted open or read is tried again; a file that says it is empty is
// read to its end all the same.
TEST(FileReading, ReadsToTheEndOrFailsWithTheReason) {
  tarn_test::TempDir dir;
  std::string content(100000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 256);
  const std::string path = dir.Write("data.bin", content);
  const struct {
    const char* name;
    size_t failReadsAfter;
    bool interrupt;
    const char* why;  // null: the whole file reads
  } cases[] = {
      {"EIO after half the bytes", content.size() / 2, false, "Input/output error"},
      {"EIO at once", 0, false, "Input/output error"},
      {"every open and read interrupted once", SIZE_MAX, true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tarn_test::FileFaults faults;
    faults.path = path;
    faults.failReadsAfter = c.failReadsAfter;
    faults.interrupt = c.interrupt;
    std::vector<unsigned char> bytes{1, 2};
    std::string why;
    size_t length = 7;
    char* data = nullptr;
    bool read = false;
    {
      tarn_test::WatchFile watch(faults);
      read = tarn::ReadFile(path.c_str(), bytes, &why);
      data = skel::SkelExtension::readFileData(skel::String(path.c_str()), &length);
    }
    EXPECT_EQ(faults.opens, 2) << "both readers went through the watched open";
    if (c.interrupt) {
      EXPECT_GE(faults.interruptions, 4);
    }
    if (c.why) {
      EXPECT_FALSE(read);
      EXPECT_EQ(why, c.why);
      EXPECT_TRUE(bytes.empty());
      EXPECT_EQ(data, nullptr);
      EXPECT_EQ(length, 7u);
    } else {
      EXPECT_TRUE(read) << why;
      EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == content);
      ASSERT_NE(data, nullptr);
      EXPECT_TRUE(std::string(data, length) == content);
    }
    skel::SkelExtension::free(data, __FILE__, __LINE__);
  }

  // Files under /proc say they hold nothing; maps is longer than one small read.
  for (const char* proc : {"/proc/cpuinfo", "/proc/self/maps"}) {
    SCOPED_TRACE(proc);
    std::vector<unsigned char> bytes;
    std::string why;
    ASSERT_TRUE(tarn::ReadFile(proc, bytes, &why)) << why;
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), '\n');
  }
  std::vector<unsigned char> maps;
  ASSERT_TRUE(tarn::ReadFile("/proc/self/maps", maps));
  EXPECT_GT(maps.size(), 4096u);
  EXPECT_NE(std::string(maps.begin(), maps.end()).find("skel_tests"), std::string::npos);
}

// A terminal named as a file is refused without becoming the controlling
// terminal of a process that has none (a session leader, as a game started
// from a desktop menu may be).
TEST(FileReading, ATerminalDoesNotBecomeTheControllingTerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminal here";
  const std::string terminal = ptsname(master);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setsid() < 0) _exit(2);
    std::vector<unsigned char> bytes;
    std::string why;
    if (tarn::ReadFile(terminal.c_str(), bytes, &why) || why != "Not a regular file") _exit(3);
    // /dev/tty opens only for a process with a controlling terminal.
    _exit(open("/dev/tty", O_RDONLY) >= 0 ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(master);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: it became the controlling terminal; 3: not refused as it should be";
}
