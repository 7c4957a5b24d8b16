#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoCommandList.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"
#include "platform/Display.h"
#include "platform/Printer.h"
#include "platform/Testing.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"
#include "runtime/Viewports.h"
#include "support/DebugLogReader.h"
#include "support/DeviceFakes.h"

namespace framework_testing {
namespace {

using testing_support::PrintedPages;

using CellOwner = std::unique_ptr<LumoCell, tObjectDestroyer>;
using SpriteOwner = std::unique_ptr<LumoSprite, tObjectDestroyer>;
using GraphicOwner = std::unique_ptr<LumoGraphicNode, tObjectDestroyer>;

constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kWhite{255, 255, 255};

// A cell whose scroll hook records the old offsets, answers as told and
// throws when asked; its print error hook counts and may throw too.
class ScriptedCell : public LumoCell {
 public:
  const char* GetClassName() const override { return "ScriptedCell"; }
  bool OnVirtualScroll(int32_t oldX, int32_t oldY) override {
    scrolls.push_back({oldX, oldY});
    if (scrollThrows) {
      throw std::runtime_error("scroll");
    }
    return scrollAnswer;
  }
  void OnPrintError() override {
    ++printErrors;
    if (printErrorThrows) {
      throw std::runtime_error("print error");
    }
  }
  std::vector<std::vector<int32_t>> scrolls;
  bool scrollAnswer = true;
  bool scrollThrows = false;
  int printErrors = 0;
  bool printErrorThrows = false;
};

// A user command that counts its runs.
class CountingCommand : public LumoCommandNode {
 public:
  explicit CountingCommand(int* runs) : runs(runs) {}
  void DoUserCommand() override { ++*runs; }
  int* runs;
};

// A frame of a graphic node at the offset.
LumoSequenceNode* AddFrame(LumoSequenceList& sequence, LumoGraphicNode* graphic, int32_t left, int32_t top) {
  auto* frame = static_cast<LumoSequenceNode*>(sequence.CreateItem());
  frame->SetGraphic(graphic);
  frame->SetOffset(left, top);
  sequence.Append(frame);
  return frame;
}

// A nameless graphic node of its own, which the frame showing it frees.
LumoGraphicNode* MadeGraphic(int32_t width, int32_t height) {
  auto* node = new LumoGraphicNode;
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, kWhite)));
  return node;
}

// The format with the object's address in its one "%p".
std::string Line(const char* format, const void* object) {
  char text[256];
  std::snprintf(text, sizeof text, format, object);
  return text;
}

bool LogHas(const std::string& text) { return testing_support::ReadDebugLog().find(text) != std::string::npos; }

// The running engine with one current level; cells are made in it.
class CellTest : public FrameworkTest {
 protected:
  void TearDown() override {
    platform::testing::ResetPrinter();
    FrameworkTest::TearDown();
  }

  void StartWithLevel() {
    populate = [this](TestEngine& engine) {
      level = AppendLevel(engine, "level");
      engine.RequestLevel(level);
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Pulse());
    ASSERT_EQ(Engine->Level, level);
  }

  // A cell of the level with that viewport.
  template <typename Cell = LumoCell>
  Cell* AddCell(int32_t left, int32_t top, int32_t width, int32_t height) {
    auto* cell = new Cell;
    level->Append(cell);
    cell->SetViewport(left, top, width, height);
    return cell;
  }

  TestLevel* level = nullptr;
};

// ---- Geometry ----

struct Geometry {
  int32_t left, top, width, height, virtualWidth, virtualHeight, offsetX, offsetY;
  bool operator==(const Geometry&) const = default;
};

Geometry GeometryOf(const LumoCell& cell) {
  return {cell.Left, cell.Top, cell.Width, cell.Height, cell.VirtualWidth, cell.VirtualHeight, cell.OffsetX,
          cell.OffsetY};
}

void PrintTo(const Geometry& g, std::ostream* out) {
  *out << "{" << g.left << ", " << g.top << ", " << g.width << ", " << g.height << ", virtual " << g.virtualWidth
       << " x " << g.virtualHeight << ", offset " << g.offsetX << ", " << g.offsetY << "}";
}

TEST_F(CellTest, ViewportVirtualSizeAndOffsetFollowTheirRules) {
  StartWithLevel();
  struct Case {
    const char* name;
    std::function<void(LumoCell&)> change;
    Geometry expected;
    bool itemsChanged;  // the items were marked to work out their bounds again
  };
  // Every case starts from a viewport of 100 x 50 at (10, 20).
  const Case cases[] = {
      {"zero width does nothing", [](LumoCell& c) { c.SetViewport(0, 0, 0, 50); },
       {10, 20, 100, 50, 100, 50, 0, 0}, false},
      {"negative height does nothing", [](LumoCell& c) { c.SetViewport(0, 0, 100, -1); },
       {10, 20, 100, 50, 100, 50, 0, 0}, false},
      {"the same size only moves", [](LumoCell& c) { c.SetViewport(30, 40, 100, 50); },
       {30, 40, 100, 50, 100, 50, 0, 0}, false},
      {"MoveTo keeps the size", [](LumoCell& c) { c.MoveTo(-5, 7); }, {-5, 7, 100, 50, 100, 50, 0, 0}, false},
      {"a new size makes a new viewport", [](LumoCell& c) { c.SetViewport(0, 0, 200, 80); },
       {0, 0, 200, 80, 200, 80, 0, 0}, true},
      {"a smaller size keeps the virtual area", [](LumoCell& c) { c.SetViewport(0, 0, 60, 40); },
       {0, 0, 60, 40, 100, 50, 0, 0}, true},
      {"a virtual size below the viewport is raised", [](LumoCell& c) { c.SetVirtualSize(50, 20); },
       {10, 20, 100, 50, 100, 50, 0, 0}, false},
      {"the offset is clamped to the area",
       [](LumoCell& c) {
         c.SetVirtualSize(300, 200);
         c.SetOffsetXY(-5, 1000);
       },
       {10, 20, 100, 50, 300, 200, 0, 150}, false},
      {"an offset inside the area is taken",
       [](LumoCell& c) {
         c.SetVirtualSize(300, 200);
         c.SetOffsetXY(120, 30);
       },
       {10, 20, 100, 50, 300, 200, 120, 30}, false},
      {"no offset without a virtual area",
       [](LumoCell& c) {
         c.VirtualWidth = 0;
         c.SetOffsetXY(5, 5);
       },
       {10, 20, 100, 50, 0, 50, 0, 0}, false},
      // The offset stays inside the area whatever changes its bounds.
      {"a shrunk virtual area brings the offset back",
       [](LumoCell& c) {
         c.SetVirtualSize(300, 200);
         c.SetOffsetXY(200, 150);
         c.SetVirtualSize(150, 100);
       },
       {10, 20, 100, 50, 150, 100, 50, 50}, false},
      {"the viewport's own size can be asked for again",
       [](LumoCell& c) {
         c.SetVirtualSize(300, 200);
         c.SetOffsetXY(10, 10);
         c.SetVirtualSize(100, 50);
       },
       {10, 20, 100, 50, 100, 50, 0, 0}, false},
      {"a grown viewport widens the area and keeps the offset inside",
       [](LumoCell& c) {
         c.SetVirtualSize(300, 200);
         c.SetOffsetXY(200, 150);
         c.SetViewport(10, 20, 400, 100);
       },
       {10, 20, 400, 100, 400, 200, 0, 100}, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    LumoCell* cell = AddCell(10, 20, 100, 50);
    LumoSprite* item = cell->AddSpriteAt(0, 0);
    ASSERT_NE(item, nullptr);
    item->SetActualBounds(0, 0, 0, 0);
    test.change(*cell);
    EXPECT_EQ(GeometryOf(*cell), test.expected);
    EXPECT_EQ(item->Changed, test.itemsChanged);
    // The viewport on the screen is the stored rectangle, cut to the screen.
    int32_t left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(GetViewportBounds(cell->Viewport(), left, top, width, height));
    EXPECT_EQ(left, std::max(cell->Left, 0));
    EXPECT_EQ(top, cell->Top);
    DestroyObject(cell);
  }
}

TEST_F(CellTest, AfterAScrollTheItemsShowingAFrameGetTheirActualBounds) {
  StartWithLevel();
  auto* cell = AddCell<ScriptedCell>(0, 0, 100, 50);
  cell->SetVirtualSize(400, 300);
  LumoSprite* showing = cell->AddSpriteAt(30, 40);
  LumoGraphicNode* graphic = MadeGraphic(20, 10);
  graphic->SetOrigin(1, 2);
  AddFrame(*showing->AppendSequence(0, -1), graphic, 5, 6);
  showing->ResetSequence(false);  // shows the frame added after the sequence
  LumoSprite* blank = cell->AddSpriteAt(70, 80);
  blank->AppendSequence(0, -1);

  // A hook that answers false leaves the items alone.
  cell->scrollAnswer = false;
  cell->SetOffsetXY(10, 10);
  EXPECT_TRUE(showing->Changed);
  EXPECT_EQ(cell->scrolls, (std::vector<std::vector<int32_t>>{{0, 0}}));

  cell->scrollAnswer = true;
  cell->SetOffsetXY(50, 60);
  EXPECT_EQ(cell->scrolls.back(), (std::vector<int32_t>{10, 10}));
  EXPECT_EQ((std::vector<int32_t>{showing->ActualLeft, showing->ActualTop, showing->ActualWidth,
                                  showing->ActualHeight}),
            (std::vector<int32_t>{36, 48, 20, 10}));
  EXPECT_FALSE(showing->Changed);
  EXPECT_TRUE(blank->Changed);
  EXPECT_EQ(blank->ActualWidth, 0);

  // A throwing hook is reported and passed on; the offset is taken already.
  cell->scrollThrows = true;
  EXPECT_THROW(cell->SetOffsetXY(0, 0), std::runtime_error);
  EXPECT_EQ(cell->OffsetX, 0);
  EXPECT_TRUE(LogHas(Line("LumoCell::SetOffsetXY() Unhandled exception during OnVirtualScroll() (FrameCounter=0, "
                          "Cell=%p:ScriptedCell)\n",
                          cell)));
}

TEST_F(CellTest, CaptureIntoCopiesTheViewportsPicture) {
  StartWithLevel();
  LumoCell* cell = AddCell(100, 100, 40, 30);
  FillGraphic(GetBackground(), kWhite);
  FillViewport(cell->Viewport(), kRed);
  GraphicOwner picture(MadeGraphic(60, 40));
  cell->CaptureInto(picture.get(), 10, 5);
  cell->CaptureInto(nullptr, 0, 0);

  const uint32_t red = ConvertRGB(kRed);
  const uint32_t white = ConvertRGB(kWhite);
  EXPECT_EQ(picture->GetPixel(10, 5), red);
  EXPECT_EQ(picture->GetPixel(49, 34), red);
  EXPECT_EQ(picture->GetPixel(9, 5), white);
  EXPECT_EQ(picture->GetPixel(10, 4), white);
  EXPECT_EQ(picture->GetPixel(50, 20), white);
  EXPECT_EQ(picture->GetPixel(20, 35), white);
}

TEST_F(CellTest, LoadingMakesTheViewportAndUnloadingStopsTheCellAndDestroysIt) {
  StartWithLevel();
  LumoCell* cell = AddCell(20, 30, 40, 50);
  cell->StartAnimation();
  ASSERT_TRUE(cell->Animating);

  cell->Unload();
  EXPECT_FALSE(cell->Animating);
  EXPECT_EQ(cell->Data, 0u);

  ASSERT_NE(cell->Load(), 0u);
  int32_t left = 0, top = 0, width = 0, height = 0;
  ASSERT_TRUE(GetViewportBounds(cell->Viewport(), left, top, width, height));
  EXPECT_EQ((std::vector<int32_t>{left, top, width, height}), (std::vector<int32_t>{20, 30, 40, 50}));

  // A cell assigned over another gives its own viewport back.
  const int32_t viewports = LiveViewportCount();
  CellOwner copy(level->CreateCell());
  copy->SetViewport(0, 0, 10, 10);
  ASSERT_EQ(LiveViewportCount(), viewports + 1);
  ASSERT_TRUE(copy->Assign(cell));
  EXPECT_EQ(copy->Data, 0u);
  EXPECT_EQ(LiveViewportCount(), viewports);
}

// ---- Starting ----

TEST_F(CellTest, ACellOutsideALevelOrWithoutASizeRefusesToStartAndActivationReportsIt) {
  StartWithLevel();
  const std::string outside = "The cell is not appended to a level (Cell=%p:LumoCell)\n";
  const std::string unsized = "The cell is has an invalid size (Cell=%p:LumoCell, Width=0, Height=0)\n";
  struct Case {
    const char* name;
    bool inLevel;
    int32_t width;
    std::vector<std::string> activationFaults;  // after the operation's name
    std::vector<std::string> startFaults;
  };
  const Case cases[] = {
      {"outside a level", false, 40, {outside}, {outside}},
      {"without a size", true, 0, {unsized}, {unsized}},
      {"outside a level without a size", false, 0, {outside, unsized}, {outside}},
      {"in a level with a size", true, 40, {}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    auto* cell = new LumoCell;
    CellOwner owner(cell);
    if (test.inLevel) {
      level->Append(owner.release());
    }
    if (test.width > 0) {
      cell->SetViewport(0, 0, test.width, 30);
    }
    const auto newLines = [logBefore = testing_support::ReadDebugLog().size()] {
      return testing_support::ReadDebugLog().substr(logBefore);
    };
    const auto expectFaults = [&](const std::string& operation, const std::vector<std::string>& faults) {
      std::string expected;
      for (const std::string& fault : faults) {
        expected += Line((operation + fault).c_str(), cell);
      }
      EXPECT_EQ(newLines(), expected);
    };
    cell->Populate();
    expectFaults("LumoCell::DoActivate() ", test.activationFaults);
    const auto startLines = [logBefore = testing_support::ReadDebugLog().size()] {
      return testing_support::ReadDebugLog().substr(logBefore);
    };
    cell->StartAnimation();
    EXPECT_EQ(cell->Animating, test.startFaults.empty());
    std::string expected;
    for (const std::string& fault : test.startFaults) {
      expected += Line(("LumoCell::CanStartAnimation() " + fault).c_str(), cell);
    }
    EXPECT_EQ(startLines(), expected);
    if (test.inLevel) {
      DestroyObject(cell);
    }
  }
}

TEST_F(CellTest, AStartSelectsEveryFrameGraphicOnceAndAStopUnselectsThem) {
  platform::DisplayCapabilities capabilities;
  capabilities.pageLockRequired = true;
  platform::testing::SetDisplayCapabilities(capabilities);
  Profile()["DirectDraw/PageLocking"] = "1";
  StartWithLevel();

  LumoCell* cell = AddCell(0, 0, 100, 100);
  LumoGraphicNode* shared = level->GraphicList->GetGeneratedGraphic(8, 8, kRed, true);
  ASSERT_NE(shared, nullptr);
  LumoGraphicNode* own = MadeGraphic(4, 4);
  LumoGraphicNode* other = MadeGraphic(4, 4);
  LumoSprite* first = cell->AddSpriteAt(0, 0);
  LumoSequenceList* walking = first->AppendSequence(0, -1);
  AddFrame(*walking, shared, 0, 0);
  AddFrame(*walking, own, 0, 0);
  AddFrame(*first->AppendSequence(0, -1), other, 0, 0);
  AddFrame(*cell->AddSpriteAt(5, 5)->AppendSequence(0, -1), shared, 0, 0);

  const auto locks = [&] {
    return std::vector<int32_t>{SurfaceOf(shared->Graphic())->PageLockCount(),
                                SurfaceOf(own->Graphic())->PageLockCount(),
                                SurfaceOf(other->Graphic())->PageLockCount()};
  };
  ASSERT_EQ(locks(), (std::vector<int32_t>{0, 0, 0}));
  for (int round = 0; round < 2; ++round) {
    cell->StartAnimation();
    ASSERT_TRUE(cell->Animating);
    EXPECT_EQ(locks(), (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(shared->Selection, shared->Graphic());
    EXPECT_EQ(other->Selection, other->Graphic());
    cell->StopAnimation();
    EXPECT_EQ(locks(), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(shared->Selection, nullptr);
    EXPECT_EQ(own->Selection, nullptr);
  }
}

// ---- Commands and printing ----

TEST_F(CellTest, TheCellRunsItsCommandsAtItsFrameCounterAndAStartRewindsThem) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 50, 50);
  int runs = 0;
  ASSERT_NE(cell->CommandList->InsertAtFrame(2, new CountingCommand(&runs)), nullptr);
  cell->StartAnimation();

  ASSERT_TRUE(Pulse());
  EXPECT_EQ(cell->FrameCounter, 1u);
  EXPECT_EQ(runs, 0);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(runs, 1);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(runs, 1);

  // Starting again rewinds the script: the command, past due, runs at once.
  cell->StopAnimation();
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(runs, 2);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(runs, 2);
}

TEST_F(CellTest, ADeferredPrintWritesItsPageTwoFramesLaterAndNoneWhileLocked) {
  platform::PrinterCapabilities printer;
  printer.horizontalResolution = 120;
  printer.verticalResolution = 160;
  printer.dotsPerInchX = 96;
  printer.dotsPerInchY = 96;
  platform::testing::SetPrinterCapabilities(printer);
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 64, 48);
  cell->StartAnimation();

  cell->Print(true);
  ASSERT_EQ(cell->CommandList->Count, 1);
  auto* command = static_cast<LumoCommandNode*>(cell->CommandList->first);
  EXPECT_EQ(command->Kind, LumoCommandNode::kPrint);
  EXPECT_EQ(command->Frame, cell->FrameCounter + 2);
  EXPECT_EQ(command->PrintA, cell);
  EXPECT_EQ(command->PrintB, 0);
  ASSERT_TRUE(Pulse());
  EXPECT_TRUE(PrintedPages().empty());
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(PrintedPages().size(), 1u);

  Engine->SetCommandsLocked(true);
  cell->Print(true);
  EXPECT_EQ(cell->CommandList->Count, 1);
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_TRUE(Pulse());
  }
  EXPECT_EQ(PrintedPages().size(), 1u);
}

TEST_F(CellTest, AFailedPrintRunsThePrintErrorHook) {
  platform::testing::SetDefaultPrinterEntry("");
  StartWithLevel();
  auto* cell = AddCell<ScriptedCell>(0, 0, 64, 48);
  cell->Print(false);
  EXPECT_EQ(cell->printErrors, 1);
  EXPECT_TRUE(PrintedPages().empty());

  cell->printErrorThrows = true;
  EXPECT_THROW(cell->Print(false), std::runtime_error);
  EXPECT_TRUE(LogHas(
      Line("LumoCell::Print() Unhandled exception during OnPrintError() (FrameCounter=0, Cell=%p:ScriptedCell)\n",
           cell)));
}

TEST_F(CellTest, APrintCommandForgetsACellFreedFirst) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 64, 48);
  std::unique_ptr<LumoCommandList, tObjectDestroyer> commands(new LumoCommandList);
  LumoCommandNode* command = commands->AddPrint(5, cell);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->PrintA, cell);
  DestroyObject(cell);
  EXPECT_EQ(command->PrintA, nullptr);
  EXPECT_TRUE(command->Execute(5));  // prints nothing
  EXPECT_TRUE(PrintedPages().empty());
}

TEST_F(CellTest, TheDumpShowsTheRectangleTheItemsAndTheCommandScript) {
  StartWithLevel();
  LumoCell* cell = AddCell(10, 20, 100, 50);
  cell->SetVirtualSize(300, 200);
  cell->SetOffsetXY(7, 8);
  LumoSprite* sprite = cell->AddSpriteAt(0, 0);
  LumoCommandNode* command = cell->CommandList->AddUser(4);
  const size_t logBefore = testing_support::ReadDebugLog().size();
  cell->DebugDump(false);
  const std::string dump = testing_support::ReadDebugLog().substr(logBefore);

  const size_t cellLine = dump.find(Line("DUMP: LumoCell (Object=%p", cell));
  const size_t spriteLine = dump.find(Line("DUMP: LumoSprite (Object=%p", sprite));
  const size_t commandLine =
      dump.find(Line("DUMP: LumoCommandNode (Object=%p", command));
  ASSERT_NE(cellLine, std::string::npos) << dump;
  EXPECT_NE(dump.find(", Left=10, Top=20, Width=100, Height=50, VirtualWidth=300, VirtualHeight=200, OffsetX=7, "
                      "OffsetY=8",
                      cellLine),
            std::string::npos)
      << dump;
  EXPECT_LT(cellLine, spriteLine);
  ASSERT_NE(commandLine, std::string::npos) << dump;
  EXPECT_LT(spriteLine, commandLine);
}

// ---- Items and the focus list ----

TEST_F(CellTest, TheLevelMakesCellsAndCellsMakeSpritesAtAPlace) {
  StartWithLevel();
  LumoNode* item = level->CreateItem();
  EXPECT_NE(dynamic_cast<LumoCell*>(item), nullptr);
  DestroyObject(item);
  CellOwner made(level->CreateCell());
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->GetClassName(), "LumoCell");

  LumoNode* cellItem = made->CreateItem();
  EXPECT_NE(dynamic_cast<LumoSprite*>(cellItem), nullptr);
  DestroyObject(cellItem);
  LumoSprite* sprite = made->AddSpriteAt(5, 7);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->parent, made.get());
  EXPECT_EQ((std::vector<int32_t>{sprite->Left, sprite->Top}), (std::vector<int32_t>{5, 7}));
}

TEST_F(CellTest, TheFocusListForgetsAControlDeletedElsewhereAndLetsGoWhenCleared) {
  StartWithLevel();
  CellOwner cell(level->CreateCell());
  // Controls join the focus list as they are attached; a referenced sprite
  // in a node stands in for one here.
  const auto join = [&](LumoSprite* control) {
    LumoNode* node = cell->FocusList->CreateItem();
    node->Data = reinterpret_cast<uintptr_t>(static_cast<LumoObject*>(control));
    cell->FocusList->Append(node);
    cell->AddReference(control);
  };
  SpriteOwner kept(new LumoSprite);
  auto* deleted = new LumoSprite;
  join(kept.get());
  join(deleted);
  ASSERT_EQ(cell->FocusList->Count, 2);
  DestroyObject(deleted);
  ASSERT_EQ(cell->FocusList->Count, 1);
  EXPECT_EQ(cell->FocusList->first->Data, reinterpret_cast<uintptr_t>(static_cast<LumoObject*>(kept.get())));

  cell->Clear();
  EXPECT_EQ(cell->FocusList->Count, 0);
  EXPECT_FALSE(kept->HasReferrers());

  // Freeing the cell lets go of the controls too.
  join(kept.get());
  cell.reset();
  EXPECT_FALSE(kept->HasReferrers());
}

}  // namespace
}  // namespace framework_testing
