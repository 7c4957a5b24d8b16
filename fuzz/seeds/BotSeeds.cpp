#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "base/LumoClass.h"
#include "bot/YBBot.h"
#include "bot/YBBotList.h"
#include "bot/YBCriminal.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBMasterMind.h"
#include "bot/YBObjective.h"
#include "bot/YBTask.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"

namespace {

// A text input: player, objective id, code, then the text.
std::string TextInput(uint8_t player, int8_t objective, uint8_t code, const std::string& text) {
  return std::string{'\x02', static_cast<char>(player), static_cast<char>(objective), static_cast<char>(code)} + text;
}

}  // namespace

void WriteBotSeeds(const std::filesystem::path& folder) {
  {
    std::unique_ptr<YBMasterMind, tObjectDestroyer> controller(new YBMasterMind);
    auto* objective = new YBObjective;
    objective->SetID((1u << 16) | 1u);
    objective->Priority = 0.5f;
    objective->Assignment = std::make_unique<YBIdentifierList>(std::vector<int32_t>{1, 2, 3, 7});
    controller->GetObjectives()->Append(objective);
    controller->GetObjectives()->Append(new YBObjective);
    auto* criminals = new LumoObjects(true);
    controller->Criminals.reset(criminals);
    criminals->SetCount(3);
    auto* criminal = new YBCriminal;
    criminal->SetID(2);
    criminal->Crime = 4.5f;
    (*criminals)[2] = criminal;
    const std::string record = SeedRecordOf(*controller, kVersion_1_6_0_7);
    WriteSeed(folder, "controller.mm", std::string(1, '\0') + record);
    WriteSeed(folder, "controller-older.mm", std::string(1, '\0') + SeedRecordOf(*controller, 0));
    // The objectives' assignment count made huge.
    const size_t count = record.find(std::string("\0\0\0\x04\0\0\0\x01", 8));
    if (count != std::string::npos) {
      WriteSeed(folder, "damaged-assignment-count.mm", std::string(1, '\0') + PatchedBigEndian(record, count, 0x7FFFFFFF));
    }
  }
  {
    std::unique_ptr<YBBotList, tObjectDestroyer> bots(new YBBotList);
    auto* bot = new YBBot;
    bot->SetID(1);
    bots->Append(bot);
    bot->AddTask(YBTask::CreateFromText("Dummy 1-3,7"));
    bot->AddTask(new YBTask);
    WriteSeed(folder, "bots.bl", std::string(1, '\x01') + SeedRecordOf(*bots));
  }
  WriteSeed(folder, "new-task.txt", TextInput(1, 1, 2, "Dummy 1-5,9"));
  WriteSeed(folder, "objective-off.txt", TextInput(1, 1, 2, "Off"));
  WriteSeed(folder, "objective-list.txt", TextInput(2, 2, 3, "1-4,8"));
  WriteSeed(folder, "global-sectors.txt", TextInput(0, -1, 1, "0,1"));
  WriteSeed(folder, "huge-range.txt", TextInput(1, 2, 3, "0-2147483647"));
}
