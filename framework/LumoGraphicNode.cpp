#include "framework/LumoGraphicNode.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoFileStream.h"
#include "base/LumoStream.h"
#include "base/tImage.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoLevel.h"
#include "runtime/AlphaFile.h"
#include "runtime/Blend.h"
#include "runtime/Display.h"
#include "runtime/Drawing.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Modules.h"
#include "runtime/Printing.h"

namespace {

LumoClassOf<LumoGraphicNode> classOfLumoGraphicNode(kVersion_1_4_0_0, "LumoGraphicNode", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, AlphaBlending, PropertyBool, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, AlphaInfo, PropertyBool, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, Data, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, Left, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, Top, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, SourceMode, PropertyInteger, "tLong");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, SourceMinimum, PropertyFourBytes, "t4Bytes");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, SourceMaximum, PropertyFourBytes, "t4Bytes");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, DestMode, PropertyInteger, "tLong");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, DestMinimum, PropertyFourBytes, "t4Bytes");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, DestMaximum, PropertyFourBytes, "t4Bytes");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, Width, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, Height, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, FillColor, PropertyFourBytes, "t4Bytes");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, PenColor, PropertyInteger, "tCardinal");
// The constant alpha keeps its stored type name but is one byte of 0-255.
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, AlphaFactor, PropertyByte, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoGraphicNode, Stretch, PropertyBool, "tBool");

}  // namespace

LumoGraphicNode::LumoGraphicNode() = default;

LumoGraphicNode::~LumoGraphicNode() {
  ReleaseLock();
  Unselect();
  if (Data != 0) {
    DestroyGraphic(Graphic());
    Data = 0;
  }
  DestroyAlphaMap();
}

const char* LumoGraphicNode::GetClassName() const { return "LumoGraphicNode"; }

// ---- Stored fields ----

LUMO_GENERIC_FIELD(LumoGraphicNode, Left)
LUMO_GENERIC_FIELD(LumoGraphicNode, Top)
LUMO_GENERIC_FIELD(LumoGraphicNode, Width)
LUMO_GENERIC_FIELD(LumoGraphicNode, Height)
LUMO_GENERIC_FIELD(LumoGraphicNode, PenColor)
LUMO_GENERIC_FIELD(LumoGraphicNode, AlphaBlending)
LUMO_GENERIC_FIELD(LumoGraphicNode, AlphaInfo)
LUMO_GENERIC_FIELD(LumoGraphicNode, AlphaFactor)
LUMO_GENERIC_FIELD(LumoGraphicNode, Stretch)

#define LUMO_KEY_FIELD(Field, member)                                                           \
  bool LumoGraphicNode::Load##Field(LumoStream* stream, const LumoProperty* property) {         \
    return LoadPropertyFrom(stream, property, &(member));                                       \
  }                                                                                             \
  bool LumoGraphicNode::Save##Field(LumoStream* stream, const LumoProperty* property) {          \
    return SavePropertyTo(stream, property, &(member));                                         \
  }

LUMO_KEY_FIELD(SourceMode, SourceKey.Mode)
LUMO_KEY_FIELD(SourceMinimum, SourceKey.Low)
LUMO_KEY_FIELD(SourceMaximum, SourceKey.High)
LUMO_KEY_FIELD(DestMode, DestKey.Mode)
LUMO_KEY_FIELD(DestMinimum, DestKey.Low)
LUMO_KEY_FIELD(DestMaximum, DestKey.High)
LUMO_KEY_FIELD(FillColor, FillColor)

#undef LUMO_KEY_FIELD

// The graphic in the node's own form: whether it is a file graphic (loaded
// again by name) and whether it is a made graphic; an embedded node's picture
// follows as a native image file.
bool LumoGraphicNode::SaveData(LumoStream* stream, const LumoProperty*) {
  const bool fileGraphic = Data != 0 && Name != nullptr && (Flags & kMadeFlag) == 0;
  const bool madeGraphic = Data != 0 && (Flags & kMadeFlag) != 0;
  if (!stream->WriteBool(fileGraphic) || !stream->WriteBool(madeGraphic)) {
    return false;
  }
  return (Flags & kEmbeddedFlag) == 0 || SaveEmbedded(stream);
}

bool LumoGraphicNode::LoadData(LumoStream* stream, const LumoProperty*) {
  Unload();
  bool fileGraphic = false;
  bool madeGraphic = false;
  if (!stream->ReadBool(fileGraphic) || !stream->ReadBool(madeGraphic)) {
    return false;
  }
  if ((Flags & kEmbeddedFlag) != 0) {
    return LoadEmbedded(stream);
  }
  if (fileGraphic && Engine != nullptr && Engine->Level != nullptr && Engine->Level->GraphicList != nullptr) {
    return Load() != 0;
  }
  return true;
}

namespace {

// The header of a native image file: 14 words, those after the signature
// stored big-endian.
constexpr uint32_t kImageHeaderBytes = ImageWordCount * 4;

uint32_t HeaderWord(const uint8_t* header, uint32_t word) {
  const uint8_t* bytes = header + word * 4;
  return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
         static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

}  // namespace

bool LumoGraphicNode::SaveEmbedded(LumoStream* stream) {
  auto* fileStream = dynamic_cast<LumoFileStream*>(stream);
  if (fileStream == nullptr || fileStream->GetFileHandle() == nullptr) {
    DebugPrint("LumoGraphicNode::SaveData() An embedded picture needs a file stream (Name=%s, Stream=%p)\n",
               DebugText(Name), static_cast<const void*>(stream));
    return false;
  }
  tImage picture;
  bool taken = false;
  LumoGraphicList* list = List();
  if (list != nullptr && list->SavesInWorkFormat()) {
    taken = Data != 0 && picture.Assign(&list->WorkImage) &&
            picture.ConvertGraphic(Graphic(), AlphaInfo ? Alpha : nullptr);
  } else {
    taken = ToImage(picture);
  }
  if (!taken) {
    DebugPrint("LumoGraphicNode::SaveData() No picture to embed (Name=%s, Data=%p)\n", DebugText(Name),
               reinterpret_cast<const void*>(Data));
    return false;
  }
  return picture.SaveTo(fileStream->GetFileHandle());
}

// The picture is read from the file stream's own bytes: its header is read
// through the stream first, and a picture that would reach past the stream's
// end (the end of an archive entry, say) is refused before anything is made.
bool LumoGraphicNode::LoadEmbedded(LumoStream* stream) {
  auto* fileStream = dynamic_cast<LumoFileStream*>(stream);
  const auto refuse = [&](const char* why) {
    DebugPrint("LumoGraphicNode::LoadData() %s (Name=%s, Stream=%p)\n", why, DebugText(Name),
               static_cast<const void*>(stream));
    return false;
  };
  if (fileStream == nullptr || fileStream->GetFileHandle() == nullptr) {
    return refuse("An embedded picture needs a file stream");
  }
  const int32_t start = stream->GetPosition();
  const int64_t remaining = stream->GetBytesRemaining();
  uint8_t header[kImageHeaderBytes];
  if (start < 0 || remaining < 0 || !stream->ReadBlock(header, sizeof header)) {
    return refuse("Cannot read the embedded picture's header");
  }
  const uint64_t alphaBytes = (HeaderWord(header, ImageWordFlags) & kImageAlphaFlag) != 0
                                  ? static_cast<uint64_t>(HeaderWord(header, ImageWordWidth)) *
                                        HeaderWord(header, ImageWordHeight)
                                  : 0;
  const uint64_t pictureBytes = kImageHeaderBytes + static_cast<uint64_t>(HeaderWord(header, ImageWordDataSize)) +
                                alphaBytes;
  if (pictureBytes > static_cast<uint64_t>(remaining)) {
    return refuse("The embedded picture reaches past the stream's end");
  }
  tImage picture;
  if (stream->SetPosition(start) != start || !picture.LoadFrom(fileStream->GetFileHandle())) {
    return refuse("Cannot read the embedded picture");
  }
  return FromImage(picture) || refuse("Cannot make the embedded picture");
}

// The stored size is read after the picture; a node holding a graphic takes
// the graphic's own size, so no reader of Width and Height walks past it.
bool LumoGraphicNode::DoLoadFrom(LumoStream* stream) {
  if (!LumoNode::DoLoadFrom(stream)) {
    return false;
  }
  if (Data != 0) {
    GetGraphicSize(Graphic(), Width, Height);
  }
  return true;
}

bool LumoGraphicNode::DoSaveTo(LumoStream* stream) {
  LumoGraphicList* list = List();
  if (list == nullptr || !list->SavesInWorkFormat()) {
    return LumoNode::DoSaveTo(stream);
  }
  // 15 bits keep five of every channel's eight; 16 bits keep six of green's.
  const tImage& work = list->WorkImage;
  const bool fifteenBits = work.GetBitsPerPixel() == 15 || work.GetGreenMask() == 0x03E0;
  const bool sixteenBits = !fifteenBits && work.GetBitsPerPixel() == 16;
  if (!fifteenBits && !sixteenBits) {
    return LumoNode::DoSaveTo(stream);
  }
  const auto reduce = [&](sRGB& colour) {
    colour.Red &= 0xF8;
    colour.Green &= fifteenBits ? 0xF8 : 0xFC;
    colour.Blue &= 0xF8;
  };
  const tKeyData sourceKey = SourceKey;
  const tKeyData destKey = DestKey;
  reduce(SourceKey.Low);
  reduce(DestKey.Low);
  if (SourceKey.Mode == KeyRange) {
    reduce(SourceKey.High);
  }
  if (DestKey.Mode == KeyRange) {
    reduce(DestKey.High);
  }
  const bool saved = RunGuarded([&] { return LumoNode::DoSaveTo(stream); }, [&] {
    SourceKey = sourceKey;
    DestKey = destKey;
  });
  SourceKey = sourceKey;
  DestKey = destKey;
  return saved;
}

// ---- Object model ----

bool LumoGraphicNode::DoAssign(LumoObject* other) {
  auto* node = dynamic_cast<LumoNode*>(other);
  if (node == nullptr) {
    return false;
  }
  // The node owns its graphic: it keeps it and never takes the source's, so
  // each graphic still has exactly one node that destroys it.
  if (!AssignNodeFields(*node)) {
    return false;
  }
  auto* source = dynamic_cast<LumoGraphicNode*>(node);
  if (source == nullptr) {
    return true;
  }
  AlphaBlending = source->AlphaBlending;
  AlphaInfo = source->AlphaInfo;
  Left = source->Left;
  Top = source->Top;
  SourceKey = source->SourceKey;
  DestKey = source->DestKey;
  if (Data == 0) {
    Width = source->Width;
    Height = source->Height;
  }
  FillColor = source->FillColor;
  PenColor = source->PenColor;
  AlphaFactor = source->AlphaFactor;
  Stretch = source->Stretch;
  if (AlphaBlending && AlphaInfo) {
    DestroyAlphaMap();
    LoadAlphaInformation();
  }
  // The own graphic is selected exactly when the source's is.
  if (source->Selection != nullptr) {
    Select();
  } else {
    Unselect();
  }
  return true;
}

void LumoGraphicNode::DoFree() {
  DestroyAlphaMap();
  LumoNode::DoFree();
}

void LumoGraphicNode::DebugDumpFields() {
  LumoNode::DebugDumpFields();
  DebugPrint(", Width=%i, Height=%i", Width, Height);
}

// ---- Graphic life ----

void LumoGraphicNode::DestroyAlphaMap() {
  if (Alpha != nullptr) {
    DestroyAlpha(Alpha);
    Alpha = nullptr;
  }
}

uintptr_t LumoGraphicNode::SetData(uintptr_t value) {
  ReleaseLock();
  Unselect();
  if (value != 0) {
    GetGraphicSize(reinterpret_cast<GraphicHandle>(value), Width, Height);
  }
  Data = value;
  return Data;
}

void LumoGraphicNode::Unload() {
  ReleaseLock();
  Unselect();
  const uintptr_t graphic = Data;
  Data = 0;
  Width = 0;
  Height = 0;
  if (graphic != 0) {
    DestroyGraphic(reinterpret_cast<GraphicHandle>(graphic));
  }
  DestroyAlphaMap();
}

uintptr_t LumoGraphicNode::Load() {
  if (Name == nullptr) {
    return Data;
  }
  if (Data != 0) {
    Unload();
  }
  if (GraphicHandle graphic = LoadGraphic(Name)) {
    SetData(reinterpret_cast<uintptr_t>(graphic));
  }
  if (AlphaBlending && AlphaInfo) {
    LoadAlphaInformation();
  }
  return Data;
}

uintptr_t LumoGraphicNode::Restore() {
  if (Data == 0 && Width > 0 && Height > 0) {
    if (GraphicHandle graphic = CreateGraphic(Width, Height, FillColor)) {
      SetData(reinterpret_cast<uintptr_t>(graphic));
    }
  }
  return Data;
}

void LumoGraphicNode::Release() {
  if (LumoGraphicList* list = List()) {
    list->ReleaseScratchGraphic(this);
  }
}

LumoGraphicList* LumoGraphicNode::List() const { return dynamic_cast<LumoGraphicList*>(parent); }

void LumoGraphicNode::LoadAlphaInformation() {
  if (Alpha == nullptr && Name != nullptr) {
    Alpha = LoadAlpha(Name);
    if (Alpha != nullptr) {
      GetAlphaSize(Alpha, Width, Height);
    }
  }
  AlphaBlending = AlphaInfo = Alpha != nullptr;
}

void LumoGraphicNode::SetAlpha(AlphaHandle alpha) {
  if (alpha != Alpha) {
    DestroyAlphaMap();
  }
  Alpha = alpha;
  AlphaBlending = AlphaInfo = alpha != nullptr;
}

void LumoGraphicNode::DisableAlpha() { AlphaBlending = AlphaInfo = false; }

void LumoGraphicNode::SetAlphaFactor(uint8_t factor) {
  AlphaBlending = true;
  AlphaInfo = false;
  AlphaFactor = factor;
}

bool LumoGraphicNode::FromImage(tImage& image) {
  GraphicHandle graphic = nullptr;
  AlphaHandle alpha = nullptr;
  if (!image.CopyTo(graphic, alpha)) {
    return false;
  }
  Unload();
  SetData(reinterpret_cast<uintptr_t>(graphic));
  // A picture without an alpha plane keeps the node's own blending (a
  // constant alpha, say).
  if (alpha != nullptr) {
    SetAlpha(alpha);
  }
  return true;
}

bool LumoGraphicNode::ToImage(tImage& image) {
  return Data != 0 && image.CopyFrom(Graphic(), AlphaInfo ? Alpha : nullptr);
}

void LumoGraphicNode::SetEmbedded(bool flag) { Flags = flag ? Flags | kEmbeddedFlag : Flags & ~kEmbeddedFlag; }

// ---- Placement and keys ----

void LumoGraphicNode::SetOrigin(int32_t left, int32_t top) {
  Left = left;
  Top = top;
}

void LumoGraphicNode::SetCanvasSize(int32_t width, int32_t height) {
  if (Data == 0) {
    Width = width;
    Height = height;
  }
}

void LumoGraphicNode::SetStretch(bool flag) { Stretch = flag; }
void LumoGraphicNode::ClearSourceKey() { SourceKey.Mode = KeyNone; }

void LumoGraphicNode::SetTransparent() {
  SetSourceKey(Engine != nullptr ? Engine->TransparentKeyColour() : sRGB{255, 0, 255});
}

void LumoGraphicNode::SetSourceKey(const sRGB& colour) {
  SourceKey.Mode = KeyColor;
  SourceKey.Low = colour;
}

void LumoGraphicNode::SetSourceKeyRange(const sRGB& low, const sRGB& high) {
  SourceKey.Mode = KeyRange;
  SourceKey.Low = low;
  SourceKey.High = high;
}

void LumoGraphicNode::ClearDestKey() { DestKey.Mode = KeyNone; }

void LumoGraphicNode::SetDestKey(const sRGB& colour) {
  DestKey.Mode = KeyColor;
  DestKey.Low = colour;
}

void LumoGraphicNode::SetDestKeyRange(const sRGB& low, const sRGB& high) {
  DestKey.Mode = KeyRange;
  DestKey.Low = low;
  DestKey.High = high;
}

void LumoGraphicNode::SetFillColour(const sRGB& colour) { FillColor = colour; }

// ---- Pixels ----

void LumoGraphicNode::DoCreateLock() {}

LockedGraphic* LumoGraphicNode::CreateLock() {
  ReleaseLock();
  if (Data == 0) {
    return nullptr;
  }
  PenColor = 0;
  RunGuarded([&] { DoCreateLock(); },
             [&] { ReportFault("LumoGraphicNode::CreateLock() Unhandled exception during DoCreateLock()"); });
  Lock = LockGraphic(Graphic());
  GetGraphicSize(Graphic(), LockedWidth, LockedHeight);
  return Lock;
}

void LumoGraphicNode::Select() {
  if (Selection == nullptr && Data != 0) {
    Selection = SelectGraphic(Graphic());
  }
}

void LumoGraphicNode::Unselect() {
  if (Selection != nullptr) {
    UnselectGraphic(Selection);
    Selection = nullptr;
  }
}

void LumoGraphicNode::ReleaseLock() {
  if (Lock != nullptr) {
    UnlockGraphic(Lock);
    Lock = nullptr;
  }
}

uint32_t LumoGraphicNode::GetPixel(int32_t x, int32_t y) { return Data != 0 ? GetGraphicPixel(Graphic(), x, y) : 0; }

void LumoGraphicNode::SetPixel(int32_t x, int32_t y, uint32_t value) {
  if (Data != 0) {
    SetGraphicPixel(Graphic(), x, y, value);
  }
}

void LumoGraphicNode::DrawBox(int32_t width, int32_t height) {
  if (Lock == nullptr) {
    return;
  }
  NextLine(Lock, width, 0, PenColor);
  NextLine(Lock, 0, height, PenColor);
  NextLine(Lock, -width, 0, PenColor);
  NextLine(Lock, 0, -height, PenColor);
}

void LumoGraphicNode::FillBox(int32_t width, int32_t height) {
  if (Lock != nullptr) {
    FillNextRectangle(Lock, width, height, PenColor);
  }
}

void LumoGraphicNode::Fill(const sRGB& colour) {
  FillColor = colour;
  if (Data != 0) {
    FillGraphic(Graphic(), colour);
  }
}

// Width and Height may come from a stream or an alpha map; the pixels are
// only what the locked graphic holds.
bool LumoGraphicNode::Inside(int32_t x, int32_t y) const {
  return Data != 0 && Lock != nullptr && x >= 0 && y >= 0 && x < Width && y < Height && x < LockedWidth &&
         y < LockedHeight;
}

// The circle of radius |radiusX| (x from 0 up, y from the radius down, the
// error term starting at the radius - 1), its vertical offsets scaled by
// |radiusY| / |radiusX|; visit gets each step's two offset pairs.
template <typename Visit>
void LumoGraphicNode::WalkEllipse(int32_t radiusX, int32_t radiusY, Visit&& visit) {
  const int32_t radius = radiusX < 0 ? -radiusX : radiusX;
  const int32_t height = radiusY < 0 ? -radiusY : radiusY;
  if (radius == 0) {
    visit(0, height);
    return;
  }
  int32_t x = 0;
  int32_t y = radius;
  int32_t error = radius - 1;
  while (y >= x) {
    visit(x, MatrixInt(y, height, radius));
    visit(y, MatrixInt(x, height, radius));
    if (error >= 2 * x) {
      error -= 2 * x + 1;
      ++x;
    } else if (error < 2 * (radius - y)) {
      error += 2 * y - 1;
      --y;
    } else {
      error += 2 * (y - x - 1);
      --y;
      ++x;
    }
  }
}

// The run-time's point setter does not check its point, so each point is
// tested here.
void LumoGraphicNode::DrawEllipse(int32_t radiusX, int32_t radiusY) {
  if (Lock == nullptr) {
    return;
  }
  const int32_t centreX = GetPixelX(Lock);
  const int32_t centreY = GetPixelY(Lock);
  const auto plot = [&](int32_t x, int32_t y) {
    if (Inside(x, y)) {
      SetPixelColorAt(Lock, x, y, PenColor);
    }
  };
  WalkEllipse(radiusX, radiusY, [&](int32_t dx, int32_t dy) {
    plot(centreX + dx, centreY + dy);
    plot(centreX - dx, centreY + dy);
    plot(centreX + dx, centreY - dy);
    plot(centreX - dx, centreY - dy);
  });
  SelectPixelAt(Lock, centreX, centreY);
}

void LumoGraphicNode::FillEllipse(int32_t radiusX, int32_t radiusY) {
  if (Lock == nullptr) {
    return;
  }
  const int32_t centreX = GetPixelX(Lock);
  const int32_t centreY = GetPixelY(Lock);
  // Each step fills the spans of its rows; a row met again is filled again,
  // which changes nothing.
  WalkEllipse(radiusX, radiusY, [&](int32_t dx, int32_t dy) {
    PlotLine(Lock, centreX - dx, centreY + dy, 2 * dx + 1, 0, PenColor);
    if (dy != 0) {
      PlotLine(Lock, centreX - dx, centreY - dy, 2 * dx + 1, 0, PenColor);
    }
  });
  SelectPixelAt(Lock, centreX, centreY);
}

void LumoGraphicNode::FloodFill(int32_t x, int32_t y, uint32_t colour) {
  if (Lock == nullptr || !Inside(x, y)) {
    return;
  }
  const auto fillable = [&](int32_t px, int32_t py) {
    if (!Inside(px, py)) {
      return false;
    }
    const uint32_t pixel = GetPixelColorAt(Lock, px, py);
    return pixel != colour && pixel != PenColor;
  };
  if (!fillable(x, y)) {
    return;
  }
  // Scan lines: each entry is a seed; its row is filled left and right to
  // the border, and the rows above and below are seeded once per run.
  std::vector<std::pair<int32_t, int32_t>> seeds{{x, y}};
  while (!seeds.empty()) {
    const auto [seedX, seedY] = seeds.back();
    seeds.pop_back();
    if (!fillable(seedX, seedY)) {
      continue;
    }
    int32_t left = seedX;
    while (fillable(left - 1, seedY)) {
      --left;
    }
    int32_t right = seedX;
    while (fillable(right + 1, seedY)) {
      ++right;
    }
    for (int32_t px = left; px <= right; ++px) {
      SelectPixelAt(Lock, px, seedY);
      SetPixelColor(Lock, colour);
    }
    for (const int32_t row : {seedY - 1, seedY + 1}) {
      bool inRun = false;
      for (int32_t px = left; px <= right; ++px) {
        const bool open = fillable(px, row);
        if (open && !inRun) {
          seeds.emplace_back(px, row);
        }
        inRun = open;
      }
    }
  }
}

// ---- Copying ----

void LumoGraphicNode::ReportCopyFailure(const char* operation, const LumoGraphicNode* source) const {
  DebugPrint("LumoGraphicNode::%s() Cannot copy from a graphic (DestNode=%p, DestName=%s, DestData=%p, SourceNode=%p",
             operation, DebugAddress(this), DebugText(Name), reinterpret_cast<const void*>(Data),
             DebugAddress(source));
  if (source != nullptr) {
    DebugPrint(", SourceName=%s, SourceData=%p", DebugText(source->Name), reinterpret_cast<const void*>(source->Data));
  }
}

// The source's blit data goes with the copy: its origin is added to the
// position and its source key applies, as when it is rendered.
bool LumoGraphicNode::Copy(LumoGraphicNode* source, int32_t left, int32_t top) {
  if (source == nullptr || source->Data == 0 || Data == 0) {
    ReportCopyFailure("Copy", source);
    DebugPrint(", Left=%i, Top=%i)\n", left, top);
    return false;
  }
  const tBlitData data = source->BlitData(left, top);
  return GraphicToGraphic(source->Graphic(), Graphic(), &data);
}

bool LumoGraphicNode::CopyPart(LumoGraphicNode* source, int32_t sourceLeft, int32_t sourceTop, int32_t destLeft,
                               int32_t destTop, int32_t width, int32_t height) {
  if (source == nullptr || source->Data == 0 || Data == 0) {
    ReportCopyFailure("CopyPart", source);
    DebugPrint(", SourceLeft=%i, SourceTop=%i, DestLeft=%i, DestTop=%i, Width=%i, Height=%i)\n", sourceLeft,
               sourceTop, destLeft, destTop, width, height);
    return false;
  }
  const tCopyData data{sourceLeft, sourceTop, destLeft, destTop, width, height};
  return PartialGraphicToGraphic(source->Graphic(), Graphic(), &data, nullptr, true);
}

bool LumoGraphicNode::CopyViewport(ViewportHandle viewport, int32_t left, int32_t top) {
  if (viewport == nullptr || Data == 0) {
    DebugPrint("LumoGraphicNode::CopyViewport() Cannot copy from a viewport (Viewport=%p, Name=%s, Data=%p, Left=%i, "
               "Top=%i)\n",
               viewport, DebugText(Name), reinterpret_cast<const void*>(Data), left, top);
    return false;
  }
  ViewportToGraphic(viewport, Graphic(), left, top);
  return true;
}

template <typename Replace>
void LumoGraphicNode::ReplaceIn(int32_t left, int32_t top, int32_t width, int32_t height, Replace&& replace) {
  if (Data == 0) {
    return;
  }
  const int64_t right = std::min<int64_t>(static_cast<int64_t>(left) + width, Width);
  const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(top) + height, Height);
  const int32_t cutLeft = std::max(left, 0);
  const int32_t cutTop = std::max(top, 0);
  if (right <= cutLeft || bottom <= cutTop) {
    return;
  }
  ReleaseLock();
  LockedGraphic* locked = LockGraphic(Graphic());
  if (locked == nullptr) {
    return;
  }
  SelectPixelAt(locked, cutLeft, cutTop);
  replace(locked, static_cast<int32_t>(right - cutLeft), static_cast<int32_t>(bottom - cutTop));
  UnlockGraphic(locked);
}

void LumoGraphicNode::ReplaceInkAndPaper(int32_t left, int32_t top, int32_t width, int32_t height,
                                         const sRGB& oldInk, const sRGB& newInk, const sRGB& oldPaper,
                                         const sRGB& newPaper) {
  ReplaceIn(left, top, width, height, [&](LockedGraphic* locked, int32_t cutWidth, int32_t cutHeight) {
    ::ReplaceInkAndPaper(locked, ConvertRGB(oldInk), ConvertRGB(newInk), ConvertRGB(oldPaper), ConvertRGB(newPaper),
                         cutWidth, cutHeight);
  });
}

void LumoGraphicNode::ReplacePaper(int32_t left, int32_t top, int32_t width, int32_t height, const sRGB& key,
                                   const sRGB& keyValue, const sRGB& otherValue) {
  ReplaceIn(left, top, width, height, [&](LockedGraphic* locked, int32_t cutWidth, int32_t cutHeight) {
    ::ReplacePaper(locked, ConvertRGB(key), ConvertRGB(keyValue), ConvertRGB(otherValue), cutWidth, cutHeight);
  });
}

// ---- Printing and saving ----

bool LumoGraphicNode::Print() {
  if (Data == 0 || !PrintGraphic(Graphic())) {
    DebugPrint("LumoGraphicNode::Print() Cannot print graphic (Name=%s, Data=%p)\n", DebugText(Name),
               reinterpret_cast<const void*>(Data));
    return false;
  }
  return true;
}

bool LumoGraphicNode::Save(const char* fileName) {
  if (Data == 0) {
    DebugPrint("LumoGraphicNode::Save() No data to save (Name=%s, Data=%p)\n", DebugText(Name),
               reinterpret_cast<const void*>(Data));
    return false;
  }
  return SaveGraphic(Graphic(), fileName);
}

bool LumoGraphicNode::SavePart(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (Data == 0) {
    DebugPrint("LumoGraphicNode::Save() No data to save (Name=%s, Data=%p)\n", DebugText(Name),
               reinterpret_cast<const void*>(Data));
    return false;
  }
  return SavePartialGraphic(Graphic(), Name, left, top, width, height);
}

// A node of a sorted list is indexed by its name, so it leaves the list while
// it is renamed and joins it again at the end.
bool LumoGraphicNode::SavePartAs(const char* fileName, int32_t left, int32_t top, int32_t width, int32_t height) {
  LumoList* list = parent;
  if (list != nullptr) {
    list->Remove(this);
  }
  SetName(fileName);
  if (list != nullptr) {
    list->Append(this);
  }
  return SavePart(left, top, width, height);
}

// ---- Rendering ----

tBlitData LumoGraphicNode::BlitData(int32_t x, int32_t y) const {
  tBlitData data;
  data.Left = Left + x;
  data.Top = Top + y;
  data.Key = SourceKey;
  return data;
}

void LumoGraphicNode::BlendInto(LockedGraphic* destination, LockedGraphic* source, int32_t width, int32_t height) {
  if (AlphaInfo) {
    BlendAlpha(destination, source, Alpha, width, height);
  } else if (SourceKey.Mode == KeyColor) {
    BlendTransparent(destination, source, AlphaFactor, ConvertRGB(SourceKey.Low), width, height);
  } else {
    BlendPlain(destination, source, AlphaFactor, width, height);
  }
}

void LumoGraphicNode::RenderTo(ViewportHandle viewport, int32_t x, int32_t y) {
  if (viewport == nullptr) {
    DebugPrint("LumoGraphicNode::RenderTo() Cannot render to a viewport (Viewport=%p, Name=%s, Data=%p, Left=%i, "
               "Top=%i)\n",
               viewport, DebugText(Name), reinterpret_cast<const void*>(Data), Left, Top);
    return;
  }
  if (Data == 0) {
    return;
  }
  if (Stretch) {
    StretchGraphicToViewport(Graphic(), viewport, &SourceKey);
    return;
  }
  const tBlitData data = BlitData(x, y);
  if (!AlphaBlending) {
    GraphicToViewport(Graphic(), viewport, &data);
    return;
  }
  int32_t viewLeft = 0;
  int32_t viewTop = 0;
  int32_t viewWidth = 0;
  int32_t viewHeight = 0;
  if (!GetViewportBounds(viewport, viewLeft, viewTop, viewWidth, viewHeight)) {
    return;
  }
  // The block is what the graphic (and, when it blends with one, its alpha
  // map) really holds, whatever Width and Height say: a blend never reads
  // past either.
  int32_t graphicWidth = 0;
  int32_t graphicHeight = 0;
  GetGraphicSize(Graphic(), graphicWidth, graphicHeight);
  int32_t blockWidth = std::min(Width, graphicWidth);
  int32_t blockHeight = std::min(Height, graphicHeight);
  if (AlphaInfo) {
    int32_t alphaWidth = 0;
    int32_t alphaHeight = 0;
    GetAlphaSize(Alpha, alphaWidth, alphaHeight);
    blockWidth = std::min(blockWidth, alphaWidth);
    blockHeight = std::min(blockHeight, alphaHeight);
  }
  const int64_t targetLeft = static_cast<int64_t>(viewLeft) + data.Left;
  const int64_t targetTop = static_cast<int64_t>(viewTop) + data.Top;
  const int64_t clippedLeft = std::max<int64_t>(targetLeft, viewLeft);
  const int64_t clippedTop = std::max<int64_t>(targetTop, viewTop);
  const int64_t clippedRight = std::min<int64_t>(targetLeft + blockWidth, static_cast<int64_t>(viewLeft) + viewWidth);
  const int64_t clippedBottom =
      std::min<int64_t>(targetTop + blockHeight, static_cast<int64_t>(viewTop) + viewHeight);
  if (clippedRight <= clippedLeft || clippedBottom <= clippedTop) {
    return;
  }
  const auto sourceX = static_cast<int32_t>(clippedLeft - targetLeft);
  const auto sourceY = static_cast<int32_t>(clippedTop - targetTop);
  const auto width = static_cast<int32_t>(clippedRight - clippedLeft);
  const auto height = static_cast<int32_t>(clippedBottom - clippedTop);
  const auto destX = static_cast<int32_t>(clippedLeft);
  const auto destY = static_cast<int32_t>(clippedTop);

  ReleaseLock();
  GraphicHandle background = GetBackground();
  if (SafeToLockGraphic(background)) {
    LockedGraphic* target = LockGraphic(background);
    LockedGraphic* source = target != nullptr ? LockGraphic(Graphic()) : nullptr;
    if (source != nullptr) {
      SelectPixelAt(target, destX, destY);
      SelectPixelAt(source, sourceX, sourceY);
      BlendInto(target, source, width, height);
      UnlockGraphic(source);
    }
    if (target != nullptr) {
      UnlockGraphic(target);
    }
    return;
  }
  // The render buffer cannot be locked now: blend into a copy of the target
  // block and copy it back.
  LumoGraphicList* list = List();
  LumoGraphicNode* scratch = list != nullptr ? list->AcquireScratchGraphic(width, height) : nullptr;
  if (scratch == nullptr) {
    return;
  }
  const tCopyData take{destX, destY, 0, 0, width, height};
  PartialGraphicToGraphic(background, scratch->Graphic(), &take, nullptr, true);
  LockedGraphic* target = LockGraphic(scratch->Graphic());
  LockedGraphic* source = target != nullptr ? LockGraphic(Graphic()) : nullptr;
  if (source != nullptr) {
    SelectPixelAt(target, 0, 0);
    SelectPixelAt(source, sourceX, sourceY);
    BlendInto(target, source, width, height);
    UnlockGraphic(source);
  }
  if (target != nullptr) {
    UnlockGraphic(target);
    const tCopyData give{0, 0, destX, destY, width, height};
    PartialGraphicToGraphic(scratch->Graphic(), background, &give, nullptr, true);
  }
  list->ReleaseScratchGraphic(scratch);
}
