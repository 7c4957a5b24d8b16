#include "runtime/GraphicFiles.h"

#include <memory>

#include "base/DebugFormat.h"
#include "base/ImageFileIO.h"
#include "base/LumoObject.h"
#include "base/tBitmap.h"
#include "platform/FileSystem.h"
#include "runtime/Alpha.h"
#include "runtime/BitmapPicture.h"
#include "runtime/Compound.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/Display.h"
#include "runtime/FileNames.h"

using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

constexpr const char* kBitmapExtension = ".bmp";

const char* MemoryNameOf(GraphicHandle graphic) {
  const platform::Surface* surface = SurfaceOf(graphic);
  if (surface->Memory() == platform::MemoryKind::Video) {
    return "Video";
  }
  return surface->PageLockCount() > 0 ? "Locked" : "System";
}

// Whether the archive entry at the file's position is a whole BMP file: "BM"
// and a file size equal to the entry's size. The position is kept.
bool IsWholeBitmapEntry(FileHandle file, uint32_t offset, uint32_t size) {
  uint8_t header[kBitmapFileHeaderBytes] = {};
  const bool read = image_io::ReadExact(file, header, sizeof(header));
  const bool restored = image_io::SeekTo(file, offset);
  return read && restored && header[0] == 'B' && header[1] == 'M' && image_io::LoadLittle32(header + 2) == size;
}

// The bitmap from the global archive's entry of the name; found tells whether
// the archive holds it.
bool ReadBitmapFromArchive(tBitmap& bitmap, const char* name, bool wholeFilesOnly, bool& found) {
  const std::string entryName = WithDefaultExtension(name, kBitmapExtension);
  return ReadGlobalArchiveEntry(
      entryName,
      [&](FileHandle file, uint32_t offset, uint32_t size) {
        if (wholeFilesOnly && !IsWholeBitmapEntry(file, offset, size)) {
          return false;
        }
        return bitmap.LoadBounded(file, size);
      },
      found);
}

// The bitmap from its file; opened tells whether the file could be opened.
bool ReadBitmapFromFile(tBitmap& bitmap, const std::string& fileName, bool& opened) {
  FileHandle file = OpenFile(fileName.c_str(), FileModeRead, OpenModeExisting, ShareModeDenyWrite);
  opened = file != nullptr;
  if (!opened) {
    return false;
  }
  const bool loaded = bitmap.LoadFrom(file);
  CloseFile(file);
  return loaded;
}

// The bitmap's pixels as a new graphic; an alpha map it may bring is not
// wanted by the caller and is freed.
GraphicHandle BitmapToGraphic(tBitmap& bitmap) {
  GraphicHandle graphic = nullptr;
  AlphaHandle alpha = nullptr;
  if (!bitmap.CopyTo(graphic, alpha)) {
    return nullptr;
  }
  DestroyAlpha(alpha);
  return graphic;
}

GraphicHandle LoadWithImageReader(const char* prefix, const char* name) {
  if (name == nullptr) {
    DebugPrint("%s Null pointer to the name specified (Name=%s)\n", prefix, DebugText(name));
    return nullptr;
  }
  const std::string fileName = FolderFileName(FolderGraphic, name, kBitmapExtension);
  tBitmap bitmap;
  bitmap.SetName(fileName.c_str());
  bool found = false;
  bool loaded = !IsFullPathName(name) && ReadBitmapFromArchive(bitmap, name, false, found);
  if (!found) {
    bool opened = false;
    loaded = ReadBitmapFromFile(bitmap, fileName, opened);
    if (!opened) {
      DebugPrint("%s Cannot open the bitmap file (Name=%s)\n", prefix, fileName.c_str());
      return nullptr;
    }
  }
  GraphicHandle graphic = loaded ? BitmapToGraphic(bitmap) : nullptr;
  if (graphic != nullptr && DebugLevelAtLeast(1)) {
    DebugPrint("%s Graphic loaded (Name=%s, Item=%p, Memory=%s)\n", prefix, fileName.c_str(), graphic,
               MemoryNameOf(graphic));
  }
  return graphic;
}

// The GDI way: bitmap resources compiled into a program do not exist here,
// so an archive entry (a whole BMP file) or the file is read.
GraphicHandle LoadWithSystemReader(const char* prefix, const char* name) {
  if (name == nullptr) {
    DebugPrint("%s Null pointer to the name specified\n", prefix);
    return nullptr;
  }
  const std::string fileName = FolderFileName(FolderGraphic, name, kBitmapExtension);
  tBitmap bitmap;
  bitmap.SetName(fileName.c_str());
  bool found = false;
  bool loaded = !IsFullPathName(name) && ReadBitmapFromArchive(bitmap, name, true, found);
  if (!found) {
    bool opened = false;
    loaded = ReadBitmapFromFile(bitmap, fileName, opened);
  }
  if (!loaded) {
    DebugPrint("%s Cannot load the graphic from file (Name=%s)\n", prefix, fileName.c_str());
    return nullptr;
  }
  GraphicHandle graphic = BitmapToGraphic(bitmap);
  if (graphic == nullptr) {
    DebugPrint("%s Cannot create graphic (Name=%s)\n", prefix, fileName.c_str());
    return nullptr;
  }
  if (DebugLevelAtLeast(1)) {
    DebugPrint("%s Graphic loaded (Name=%s, Item=%p, Memory=%s, Width=%i, Height=%i)\n", prefix,
               fileName.c_str(), graphic, MemoryNameOf(graphic), static_cast<int32_t>(bitmap.GetWidth()),
               static_cast<int32_t>(bitmap.GetHeight()));
  }
  return graphic;
}

// The writer behind the three save calls: the rectangle of the graphic as a
// 24-bit BMP file in the program folder.
bool SaveRectangle(const char* prefix, GraphicHandle graphic, const char* name, const SurfaceRect& rectangle) {
  if (name == nullptr) {
    DebugPrint("%s Null pointer to the name specified\n", prefix);
    return false;
  }
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified (Name=%s)\n", prefix, name);
    return false;
  }
  const std::string fileName = FolderFileName(FolderProgram, name, kBitmapExtension);
  tBitmapPicture picture;
  const SurfaceResult read = ReadSurfacePicture(*SurfaceOf(graphic), rectangle, picture);
  if (read != SurfaceResult::Ok) {
    DebugPrint("%s Cannot read the graphic (Name=%s, Item=%p, Width=%i, Height=%i, Error=%X)\n", prefix,
               fileName.c_str(), graphic, rectangle.Width(), rectangle.Height(), platform::ResultCode(read));
    return false;
  }
  if (!WriteBitmapPicture(prefix, fileName.c_str(), graphic, picture, kScreenPixelsPerMetre)) {
    return false;
  }
  if (DebugLevelAtLeast(1)) {
    DebugPrint("%s DirectDraw surface saved (Name=%s, Item=%p, Width=%i, Height=%i)\n", prefix, fileName.c_str(),
               graphic, picture.Width, picture.Height);
  }
  return true;
}

}  // namespace

// ---- Names ----

bool IsFullPathName(const char* name) { return name != nullptr && name[0] != '\0' && name[1] == ':'; }

std::string FolderFileName(tFolderType folder, const char* name, const char* extension) {
  if (IsFullPathName(name)) {
    return WithDefaultExtension(name, extension);
  }
  char folderName[kMaxPathSize] = "";
  std::string prefix;
  if (GetFolderName(folder, folderName)) {
    prefix = folderName;
  } else if (folder == FolderProgram) {
    prefix = platform::CurrentFolderName();
  }
  return prefix + WithDefaultExtension(name, extension);
}

bool ReadGlobalArchiveEntry(const std::string& entryName,
                            const std::function<bool(FileHandle file, uint32_t offset, uint32_t size)>& read,
                            bool& found) {
  found = false;
  CompoundHandle compound = GetCompound();
  if (compound == nullptr) {
    return false;
  }
  const int64_t before = image_io::Position(GetCompoundFile(compound));
  uint32_t offset = 0;
  uint32_t size = 0;
  FileHandle file = LookupCompound(compound, entryName.c_str(), offset, size);
  if (file == nullptr) {
    return false;
  }
  found = true;
  const bool result = read(file, offset, size);
  if (before >= 0) {
    image_io::SeekTo(file, before);
  }
  return result;
}

// ---- Loading and saving ----

GraphicHandle LoadGraphic(const char* name) { return LoadGraphicFor("LoadGraphic()", name); }

GraphicHandle LoadGraphicFor(const char* prefix, const char* name) {
  return DisplaySettings().GDI ? LoadWithSystemReader(prefix, name) : LoadWithImageReader(prefix, name);
}

bool SaveGraphic(GraphicHandle graphic, const char* name) {
  constexpr const char* prefix = "SaveGraphic()";
  int32_t width = 0;
  int32_t height = 0;
  if (name != nullptr && graphic != nullptr && !GraphicSize(prefix, graphic, width, height)) {
    DebugPrint("%s Cannot retrieve the size of a graphic (Item=%p)\n", prefix, graphic);
    return false;
  }
  return SaveRectangle(prefix, graphic, name, {0, 0, width, height});
}

bool SavePartialGraphic(GraphicHandle graphic, const char* name, int32_t left, int32_t top, int32_t width,
                        int32_t height) {
  const int64_t right = int64_t{left} + width;
  const int64_t bottom = int64_t{top} + height;
  if (right > INT32_MAX || bottom > INT32_MAX) {
    DebugPrint("SavePartialGraphic() Invalid size (Width=%i, Height=%i)\n", width, height);
    return false;
  }
  return SaveRectangle("SavePartialGraphic()", graphic, name,
                       {left, top, static_cast<int32_t>(right), static_cast<int32_t>(bottom)});
}

bool SaveViewport(ViewportHandle viewport, const char* name) {
  constexpr const char* prefix = "SaveViewport()";
  if (name == nullptr) {
    DebugPrint("%s Null pointer to the name specified\n", prefix);
    return false;
  }
  if (viewport == nullptr) {
    DebugPrint("%s Null pointer to the viewport specified (Name=%s)\n", prefix, name);
    return false;
  }
  return SaveRectangle(prefix, RenderBuffer(), name, ViewportArea(*ViewportOf(viewport)));
}
