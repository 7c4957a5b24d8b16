// The engine's style: the metrics, colours and look names that controls,
// bevels, menus and options read from the engine.

#include <string>

#include "framework/LumoEngine.h"

namespace {

// The defaults, and what each one means to its readers.
//
// Metrics (StyleMetrics[0..5], set by SetStyleMetric1 .. 6):
//   1 menu filler allowance, pixels ............................... 24
//   2 option gutter, pixels ........................................ 16
//   3 default bevel width, pixels ................................... 4
//   4 control gap, pixels (always twice the margin) ................. 4
//   5 control margin, pixels ........................................ 2
//   6 default bevel style ........................................... 33
//     (a control that uses the default bevel takes this value; its
//     AlignOffset and AlignLimit become its bevel's style and sides)
constexpr int32_t kStyleMetricDefaults[LumoEngine::kStyleMetricCount] = {24, 16, 4, 4, 2, 33};

// Colours (StyleColours[0..8], set by SetStyleColour1 .. 9), as red, green,
// blue:
//   1 the transparent key of graphic nodes .................. (255, 0, 255)
//   2-5 the four bevel colours, lightest first: (255, 255, 255),
//       (255, 255, 255), (127, 127, 127), (127, 127, 127); colour 2 is
//       also the light control colour and colour 4 the dark one
//   6 the face colour ....................................... (191, 191, 191)
//   7-9 kept for their order, read by nothing: (175, 175, 175),
//       (175, 175, 175), (63, 0, 0)
struct Rgb {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};
constexpr Rgb kStyleColourDefaults[LumoEngine::kStyleColourCount] = {
    {255, 0, 255},   {255, 255, 255}, {255, 255, 255}, {127, 127, 127}, {127, 127, 127},
    {191, 191, 191}, {175, 175, 175}, {175, 175, 175}, {63, 0, 0},
};

// Looks: graphics found by name in a graphic list. Scroll bars draw their
// arrows and thumb with the Left, Right, Up, Down and Thumb names (their
// track is a plain canvas); refresh buttons the Refresh names; an option's
// arrow is "_SubMenu". Controls have no default click or hover sound; the
// default mouse is the mouse list's first; labels write with the built-in
// font, else with the current one.
constexpr const char* kButtonKinds[] = {"Left", "Right", "Up",  "Down", "Top",  "Bottom", "Thumb", "No",
                                        "Yes",  "Off",   "On",  "Drop", "Pull", "All",    "Back",  "Refresh"};
constexpr const char* kIconKinds[] = {"Accept", "Reject"};
constexpr char kStateLetters[] = {'A', 'H', 'D', 'P'};
constexpr const char* kDriveLooks[] = {"_UnknownDisk", "_NoRoot",     "_RemovableDisk", "_FixedDisk",
                                       "_RemoteDisk",  "_CDROMDisk", "_RAMDisk"};
constexpr const char* kFileLooks[] = {"_ClosedFolder", "_OpenFolder", "_SystemFolder",
                                      "_HiddenFolder", "_HiddenFile", "_SystemFile"};

constexpr int kButtonLooksAt = 0;
constexpr int kIconLooksAt = 16 * 4;
constexpr int kSubMenuLookAt = kIconLooksAt + 2 * 4 + 2;  // after two empty entries
constexpr int kDriveLooksAt = kSubMenuLookAt + 1;
constexpr int kFileLooksAt = kDriveLooksAt + 7;
static_assert(kFileLooksAt + 6 == LumoEngine::kLookNameCount, "the look table's size");

// The table of look names, built once and kept for the process.
const char* const* BuildLookNames() {
  static std::string texts[LumoEngine::kLookNameCount];
  static const char* names[LumoEngine::kLookNameCount];
  int at = kButtonLooksAt;
  for (const char* kind : kButtonKinds) {
    for (char state : kStateLetters) {
      texts[at++] = std::string("_B") + state + kind;
    }
  }
  for (const char* kind : kIconKinds) {
    for (char state : kStateLetters) {
      texts[at++] = std::string("_I") + state + kind;
    }
  }
  at += 2;
  texts[at++] = "_SubMenu";
  for (const char* look : kDriveLooks) {
    texts[at++] = look;
  }
  for (const char* look : kFileLooks) {
    texts[at++] = look;
  }
  for (int index = 0; index < LumoEngine::kLookNameCount; ++index) {
    names[index] = texts[index].c_str();
  }
  return names;
}

const char* const* LookNameTable() {
  static const char* const* table = BuildLookNames();
  return table;
}

}  // namespace

void LumoEngine::SetStyleDefaults() {
  for (int index = 0; index < kStyleMetricCount; ++index) {
    StyleMetrics[index] = kStyleMetricDefaults[index];
  }
  for (int index = 0; index < kStyleColourCount; ++index) {
    StyleColours[index].Red = kStyleColourDefaults[index].red;
    StyleColours[index].Green = kStyleColourDefaults[index].green;
    StyleColours[index].Blue = kStyleColourDefaults[index].blue;
  }
  LookNames = LookNameTable();
}

sRGB LumoEngine::StoreStyleColour(int index, const sRGB& colour) { return StyleColours[index] = colour; }

int32_t LumoEngine::StoreStyleMetric(int index, int32_t value) { return StyleMetrics[index] = value; }

sRGB LumoEngine::SetStyleColour1(const sRGB& colour) { return StoreStyleColour(0, colour); }
sRGB LumoEngine::SetStyleColour2(const sRGB& colour) { return StoreStyleColour(1, colour); }
sRGB LumoEngine::SetStyleColour3(const sRGB& colour) { return StoreStyleColour(2, colour); }
sRGB LumoEngine::SetStyleColour4(const sRGB& colour) { return StoreStyleColour(3, colour); }
sRGB LumoEngine::SetStyleColour5(const sRGB& colour) { return StoreStyleColour(4, colour); }
sRGB LumoEngine::SetStyleColour6(const sRGB& colour) { return StoreStyleColour(5, colour); }
sRGB LumoEngine::SetStyleColour7(const sRGB& colour) { return StoreStyleColour(6, colour); }
sRGB LumoEngine::SetStyleColour8(const sRGB& colour) { return StoreStyleColour(7, colour); }
sRGB LumoEngine::SetStyleColour9(const sRGB& colour) { return StoreStyleColour(8, colour); }

int32_t LumoEngine::SetStyleMetric1(int32_t value) { return StoreStyleMetric(0, value); }
int32_t LumoEngine::SetStyleMetric2(int32_t value) { return StoreStyleMetric(1, value); }
int32_t LumoEngine::SetStyleMetric3(int32_t value) { return StoreStyleMetric(2, value < 0 ? 0 : value); }

int32_t LumoEngine::SetStyleMetric5(int32_t value) {
  if (value < 0) {
    return StyleMetrics[4];
  }
  StyleMetrics[3] = 2 * value;
  return StoreStyleMetric(4, value);
}

int32_t LumoEngine::SetStyleMetric6(int32_t value) { return StoreStyleMetric(5, value); }

const sRGB& LumoEngine::BevelColour(int index) const {
  return StyleColours[1 + (index < 0 ? 0 : index > 3 ? 3 : index)];
}

const char* LumoEngine::ButtonLookName(tLookKind kind, tLookState state) const {
  if (kind < LookLeft || kind > LookRefresh || state < LookStateA || state > LookStateP) {
    return "";
  }
  return LookNames[kButtonLooksAt + kind * 4 + state];
}

const char* LumoEngine::IconLookName(tIconKind kind, tLookState state) const {
  if (kind < IconAccept || kind > IconReject || state < LookStateA || state > LookStateP) {
    return "";
  }
  return LookNames[kIconLooksAt + kind * 4 + state];
}

const char* LumoEngine::SubMenuLookName() const { return LookNames[kSubMenuLookAt]; }

const char* LumoEngine::DriveLookName(uint32_t driveType) const {
  return LookNames[kDriveLooksAt + (driveType <= 6 ? driveType : 0)];
}

const char* LumoEngine::FileLookName(tFileLook look) const {
  if (look < ClosedFolder || look > SystemFile) {
    return "";
  }
  return LookNames[kFileLooksAt + look];
}

LumoFontNode* LumoEngine::LabelFont() const { return DefaultFont != nullptr ? DefaultFont : Font; }
