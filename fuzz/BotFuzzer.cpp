// The computer player's untrusted inputs: the "MasterMind" and "BotList"
// records of a level or a save, and the texts of the level script's task and
// objective events. The first byte picks the input:
//   0: a controller record: loaded, saved, loaded again (which must save the
//      same bytes), then run over a small logic through two map events;
//   1: a bot list record, checked and run the same way;
//   2: [player][objective id as a signed byte][code] then a text, handed to
//      the task and knowledge listeners of a running controller with two
//      objectives.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/LumoClass.h"
#include "bot/YBBot.h"
#include "bot/YBBotList.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBKnowledgeListener.h"
#include "bot/YBMasterMind.h"
#include "bot/YBObjective.h"
#include "bot/YBTaskListener.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/ThingInfo.h"
#include "navigation/YLSectors.h"
#include "tests/navigation/PathMapDrawing.h"

namespace {

// The bytes of a drawn knowledge map; the running sector map is put back.
std::string MapBytes(const std::vector<std::string>& rows, int32_t cell) {
  YLSectors* const running = GetCurrentSectorMap();
  std::string bytes;
  {
    path_testing::DrawnMap drawn = path_testing::DrawMap(rows, cell);
    bytes = SavedRecord(*drawn.knowledge);
  }
  SetCurrentSectorMap(running);
  return bytes;
}

// The object's record with the given stream header version (0: the class
// record's); a save that fails is a finding.
std::string SavedWithVersion(LumoObject& object, uint32_t version) {
  LumoMemoryStream saved;
  FuzzRequire(saved.OpenNew(64, 1, 0) && saved.SetGrowth(256) != 0, "a memory stream opens for writing");
  FuzzRequire(object.SaveObject(&saved, version), "a loaded object saves");
  return std::string(reinterpret_cast<const char*>(saved.buffer), saved.position);
}

void ReplaceMap(const std::vector<std::string>& rows, int32_t cell) {
  const std::string bytes = MapBytes(rows, cell);
  FuzzInputStream input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  FuzzRequire(input.Usable(), "the map's bytes open");
  ReplacePathPlanning(&input.stream);
}

// A running logic with the computer player's listeners, its controller and
// its bots; everything is let go in the right order at the end.
class BotWorld {
 public:
  BotWorld(YBMasterMind* controller, YBBotList* bots)
      : controller_(controller != nullptr ? controller : new YBMasterMind),
        bots_(bots != nullptr ? bots : new YBBotList) {
    controller_->MakeCurrent();
    for (int32_t player = 0; player < 4; ++player) {
      if (bots_->GetBot(player) == nullptr) {
        auto* bot = new YBBot;
        bot->SetID(static_cast<uint32_t>(player));
        bots_->Append(bot);
      }
    }
    knowledge_ = new YBKnowledgeListener;
    tasks_ = new YBTaskListener;
    knowledge_->SetController(controller_);
    knowledge_->SetBots(bots_);
    tasks_->SetBots(bots_);
    LogicStart();
    LogicListener(knowledge_);
    LogicListener(tasks_);
    LogicCreate(24, 24);
    LogicPlayer(1);
    LogicPlayer(2);
    LogicPlayer(3);
    ReplaceMap({"AB", "C."}, 12);
    CreateThing("UnitSupporter", 3, 3, 0, 0, 1);
    CreateThing("UnitRat", 4, 3, 0, 0, 1);
    CreateThing("UnitPolice", 15, 15, 0, 0, 3);
    CreateThing("Pub01-Bulldog", 14, 2, 0, 0, 0);
    CreateThing("Vehicle022-Manta", 3, 16, 2, 0, 0);
  }
  ~BotWorld() {
    DestroyObject(controller_);
    DestroyObject(bots_);
    LogicStop();
    DestroyObject(knowledge_);
    DestroyObject(tasks_);
  }
  BotWorld(const BotWorld&) = delete;
  BotWorld& operator=(const BotWorld&) = delete;

  // Runs the computer players a few frames, then the map arrives again.
  void Run() {
    for (int32_t frame = 0; frame < 3; ++frame) {
      controller_->Compute();
      bots_->VisitItems([](LumoNode* node) {
        if (auto* bot = dynamic_cast<YBBot*>(node); bot != nullptr) {
          bot->RunTasks();
        }
        return false;
      });
      LogicCompute();
    }
    ReplaceMap({"A", "B"}, 12);
    bots_->VisitItems([](LumoNode* node) {
      if (auto* bot = dynamic_cast<YBBot*>(node); bot != nullptr) {
        bot->RunTasks();
      }
      return false;
    });
  }

  YBMasterMind* controller_;
  YBBotList* bots_;
  YBKnowledgeListener* knowledge_ = nullptr;
  YBTaskListener* tasks_ = nullptr;
};

// Loads a record of class T; when it loads, it must save, load again and
// save the same bytes.
template <typename T>
T* LoadChecked(const uint8_t* data, size_t size, uint32_t saveVersion) {
  FuzzInputStream input(data, size);
  if (!input.Usable()) {
    return nullptr;
  }
  LumoObject* loaded = LoadObject(&input.stream, nullptr);
  auto* typed = dynamic_cast<T*>(loaded);
  if (typed == nullptr) {
    DestroyObject(loaded);
    return nullptr;
  }
  const std::string saved = SavedWithVersion(*typed, saveVersion);
  FuzzInputStream again(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
  LumoObject* reloaded = LoadObject(&again.stream, nullptr);
  FuzzRequire(dynamic_cast<T*>(reloaded) != nullptr, "a saved record loads again");
  FuzzRequire(SavedWithVersion(*reloaded, saveVersion) == saved, "a reloaded record saves the same bytes");
  DestroyObject(reloaded);
  return typed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  const uint8_t mode = data[0];
  ++data;
  --size;
  if (mode == 0) {
    if (auto* controller = LoadChecked<YBMasterMind>(data, size, kVersion_1_6_0_7)) {
      BotWorld(controller, nullptr).Run();
    }
  } else if (mode == 1) {
    if (auto* bots = LoadChecked<YBBotList>(data, size, 0)) {
      BotWorld(nullptr, bots).Run();
    }
  } else if (mode == 2 && size >= 3) {
    BotWorld world(nullptr, nullptr);
    for (uint32_t id : {1u, 2u}) {
      auto* objective = new YBObjective;
      objective->SetID((id << 16) | id);
      objective->Priority = 0.5f;
      world.controller_->GetObjectives()->Append(objective);
    }
    const int32_t player = data[0] % 5;
    const int32_t objectiveId = static_cast<int8_t>(data[1]);
    const int32_t code = data[2] % 8;
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
    world.tasks_->EventNewTask(player, text.c_str());
    world.knowledge_->EventSetObjectiveValue(objectiveId, code, text.c_str());
    world.Run();
  }
  return 0;
}
