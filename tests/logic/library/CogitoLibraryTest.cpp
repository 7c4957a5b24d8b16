#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "logic/core/YLEventListener.h"

namespace {

struct LibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};

using Bytes = std::vector<uint8_t>;

// The logic library as the game program sees it: its exported functions,
// found by their plain names.
struct Cogito {
  Cogito() : handle(dlopen(COGITO_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {
    if (handle == nullptr) {
      ADD_FAILURE() << dlerror();
      return;
    }
    Find(start, "LogicStart");
    Find(stop, "LogicStop");
    Find(create, "LogicCreate");
    Find(player, "LogicPlayer");
    Find(listener, "LogicListener");
    Find(compute, "LogicCompute");
    Find(save, "LogicSave");
    Find(load, "LogicLoad");
  }

  template <typename Function>
  void Find(Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(dlsym(handle.get(), name));
    if (function == nullptr) {
      ADD_FAILURE() << "libCogito.so does not export " << name;
    }
  }

  bool Complete() const {
    return start != nullptr && stop != nullptr && create != nullptr && player != nullptr && listener != nullptr &&
           compute != nullptr && save != nullptr && load != nullptr;
  }

  Bytes Save() const {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(64, 1, 0));
    EXPECT_EQ(stream.SetGrowth(4096), 4096u);
    if (!save(&stream)) {
      return {};
    }
    return Bytes(stream.buffer, stream.buffer + stream.position);
  }

  bool Load(Bytes bytes) const {
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return load(&stream);
  }

  std::unique_ptr<void, LibraryCloser> handle;
  bool (*start)() = nullptr;
  bool (*stop)() = nullptr;
  bool (*create)(int32_t, int32_t) = nullptr;
  bool (*player)(int32_t) = nullptr;
  bool (*listener)(YLEventListener*) = nullptr;
  bool (*compute)() = nullptr;
  bool (*save)(LumoStream*) = nullptr;
  bool (*load)(LumoStream*) = nullptr;
};

// Counts what it hears from across the library boundary.
class CountingListener : public YLEventListener {
 public:
  void EventMap(const void*) override { ++maps; }
  void EventParameter(int32_t player, ParamEnum, int32_t) override { players.push_back(player); }
  int32_t maps = 0;
  std::vector<int32_t> players;
};

// The offset of the logic's stored generator state: right behind the
// length-prefixed text "random:".
size_t RandomStateOffset(const Bytes& saved) {
  const Bytes marker = {0, 0, 0, 7, 'r', 'a', 'n', 'd', 'o', 'm', ':'};
  const auto found = std::search(saved.begin(), saved.end(), marker.begin(), marker.end());
  EXPECT_NE(found, saved.end());
  return static_cast<size_t>(found - saved.begin()) + marker.size();
}

uint32_t StoredRandomState(const Bytes& saved) {
  const size_t at = RandomStateOffset(saved);
  if (at + 4 > saved.size()) {
    return 0xFFFFFFFF;
  }
  return uint32_t{saved[at]} << 24 | uint32_t{saved[at + 1]} << 16 | uint32_t{saved[at + 2]} << 8 | saved[at + 3];
}

TEST(CogitoLibraryTest, AGameRunsThroughTheExportedFunctions) {
  Cogito cogito;
  ASSERT_TRUE(cogito.Complete());
  CountingListener listener;

  ASSERT_TRUE(cogito.start());
  ASSERT_TRUE(cogito.listener(&listener));
  ASSERT_TRUE(cogito.create(16, 12));
  EXPECT_EQ(listener.maps, 1);
  ASSERT_TRUE(cogito.player(1));
  ASSERT_TRUE(cogito.player(2));
  for (int32_t frame = 0; frame < 5; ++frame) {
    ASSERT_TRUE(cogito.compute());
  }
  const Bytes saved = cogito.Save();
  ASSERT_FALSE(saved.empty());

  listener.players.clear();
  ASSERT_TRUE(cogito.Load(saved));
  EXPECT_EQ(listener.maps, 2);
  ASSERT_FALSE(listener.players.empty());
  EXPECT_EQ(listener.players.front(), 1);
  EXPECT_EQ(listener.players.back(), 3);
  EXPECT_EQ(cogito.Save(), saved);
  EXPECT_TRUE(cogito.compute());

  // A stream cut short is refused and the game goes on.
  EXPECT_FALSE(cogito.Load(Bytes(saved.begin(), saved.begin() + saved.size() / 2)));
  EXPECT_EQ(cogito.Save().size(), saved.size());
  EXPECT_TRUE(cogito.compute());

  ASSERT_TRUE(cogito.stop());
  EXPECT_EQ(listener.parent, nullptr);
  EXPECT_TRUE(cogito.stop());
  EXPECT_FALSE(cogito.compute());
  EXPECT_TRUE(cogito.Save().empty());
  EXPECT_FALSE(cogito.player(1));
}

// A game loaded with its generator somewhere else, then started afresh:
// the new game's generator stands at state 0, as the library's does at
// first.
TEST(CogitoLibraryTest, StartingAgainPutsTheGeneratorBackAtZero) {
  Cogito cogito;
  ASSERT_TRUE(cogito.Complete());
  ASSERT_TRUE(cogito.start());
  ASSERT_TRUE(cogito.create(8, 8));
  Bytes saved = cogito.Save();
  EXPECT_EQ(StoredRandomState(saved), 0u);
  const size_t at = RandomStateOffset(saved);
  ASSERT_LE(at + 4, saved.size());
  saved[at + 2] = 0x12;
  saved[at + 3] = 0x34;
  ASSERT_TRUE(cogito.Load(saved));
  EXPECT_EQ(StoredRandomState(cogito.Save()), 0x1234u);

  ASSERT_TRUE(cogito.start());
  ASSERT_TRUE(cogito.create(8, 8));
  EXPECT_EQ(StoredRandomState(cogito.Save()), 0u);
  EXPECT_TRUE(cogito.stop());
}

}  // namespace
