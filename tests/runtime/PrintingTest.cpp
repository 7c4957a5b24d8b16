#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CompoundArchiveSupport.h"
#include "DisplayFixture.h"
#include "platform/Printer.h"
#include "runtime/Printing.h"
#include "runtime/Viewports.h"
#include "support/DeviceFakes.h"

namespace {

using testing_support::PrintedPages;

using Bytes = std::vector<uint8_t>;

class PrintingTest : public DisplayFixture {
 protected:
  void TearDown() override {
    platform::testing::ResetPrinter();
    DisplayFixture::TearDown();
  }

};

uint32_t LittleAt(const Bytes& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

struct GeometryCase {
  const char* what;
  platform::PrinterCapabilities printer;
  int32_t sourceWidth;
  int32_t sourceHeight;
  tPrintGeometry expected;
};

platform::PrinterCapabilities WithOffsets(int32_t x, int32_t y) {
  platform::PrinterCapabilities printer;
  printer.physicalOffsetX = x;
  printer.physicalOffsetY = y;
  return printer;
}

TEST_F(PrintingTest, PageGeometryFillsThePrintableAreaAndCentresThePicture) {
  platform::PrinterCapabilities coarse;
  coarse.horizontalResolution = 600;
  coarse.verticalResolution = 800;
  coarse.dotsPerInchX = 150;
  coarse.dotsPerInchY = 75;
  coarse.physicalOffsetX = 10;
  const GeometryCase cases[] = {
      {"landscape fills the width", {}, 64, 48, {2480, 3508, 0, 824, 2480, 1860}},
      {"portrait overflowing the width is cut back", {}, 48, 64, {2480, 3508, 0, 101, 2480, 3306}},
      {"physical offsets keep a margin", WithOffsets(50, 60), 100, 100, {2080, 3028, 200, 714, 2080, 2080}},
      {"a thin picture fills the height", {}, 10, 1000, {2480, 3508, 1223, 0, 34, 3508}},
      {"unequal dots per inch", coarse, 33, 20, {520, 800, 40, 324, 520, 152}},
  };
  for (const GeometryCase& test : cases) {
    tPrintGeometry geometry;
    ASSERT_TRUE(ComputePrintGeometry(test.printer, test.sourceWidth, test.sourceHeight, 96, 96, geometry))
        << test.what;
    EXPECT_EQ(geometry.PaperWidth, test.expected.PaperWidth) << test.what;
    EXPECT_EQ(geometry.PaperHeight, test.expected.PaperHeight) << test.what;
    EXPECT_EQ(geometry.Left, test.expected.Left) << test.what;
    EXPECT_EQ(geometry.Top, test.expected.Top) << test.what;
    EXPECT_EQ(geometry.Width, test.expected.Width) << test.what;
    EXPECT_EQ(geometry.Height, test.expected.Height) << test.what;
  }
}

TEST_F(PrintingTest, PrintViewportWritesThePageAsABitmapIntoPrints) {
  ASSERT_TRUE(StartDisplay(Settings(false, true, 16)));
  FillGraphic(GetBackground(), sRGB{0, 0, 255});
  ViewportHandle viewport = CreateViewport(0, 0, 64, 48);
  ASSERT_TRUE(PrintViewport(viewport));
  EXPECT_TRUE(LogHas("PrintViewport() Printing DirectDraw surface... (Surface="));
  EXPECT_TRUE(LogHas("Printer=Lumo Printer, Driver=LumoPrint, Port=prints)"));
  EXPECT_TRUE(LogHas("PaperSize=2480:3508, DestBounds=0:824:2480:1860, SourceBounds=0:0:64:48)"));

  const std::vector<std::filesystem::path> pages = PrintedPages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].extension(), ".bmp");
  const Bytes page = compound_test::LoadBytes(pages[0].string());
  constexpr uint32_t kRowBytes = 2480 * 3;
  ASSERT_EQ(page.size(), 54u + kRowBytes * 3508u);
  EXPECT_EQ(LittleAt(page, 18), 2480u);
  EXPECT_EQ(LittleAt(page, 22), 3508u);
  EXPECT_EQ(page[28], 24);
  EXPECT_EQ(LittleAt(page, 38), 11811u);  // 300 dots per inch
  // The blue, green and red bytes of a page pixel (rows stored bottom-up).
  auto pixel = [&page](uint32_t x, uint32_t y) {
    const size_t at = 54 + size_t{3507 - y} * kRowBytes + size_t{x} * 3;
    return Bytes(page.begin() + static_cast<std::ptrdiff_t>(at), page.begin() + static_cast<std::ptrdiff_t>(at + 3));
  };
  const Bytes red = {0, 0, 248};  // the 5/6/5 display's red, widened
  const Bytes white = {255, 255, 255};
  EXPECT_EQ(pixel(1240, 1754), red);
  EXPECT_EQ(pixel(0, 824), red);
  EXPECT_EQ(pixel(2479, 2683), red);
  EXPECT_EQ(pixel(1240, 823), white);
  EXPECT_EQ(pixel(1240, 2684), white);

  // A second page in the same second gets a name of its own.
  ASSERT_TRUE(PrintViewport(viewport));
  EXPECT_EQ(PrintedPages().size(), 2u);
  DestroyViewport(viewport);
}

TEST_F(PrintingTest, DamagedPrinterEntriesAreRefused) {
  struct EntryCase {
    const char* entry;
    bool accepted;
  };
  const EntryCase cases[] = {
      {"Lumo Printer,LumoPrint,prints", true},
      {"Lumo Printer,LumoPrint,C:\\out,more", true},
      {"Lumo Printer,LumoPrint", false},
      {"Lumo Printer,LumoPrint,", false},
      {",LumoPrint,prints", false},
      {"Lumo Printer,,prints", false},
      {"", false},
  };
  for (const EntryCase& test : cases) {
    tPrinterEntry parts;
    EXPECT_EQ(SplitPrinterEntry(test.entry, parts), test.accepted) << test.entry;
  }
  ASSERT_TRUE(StartDisplay(Settings(false, true, 16)));
  GraphicHandle graphic = CreateGraphic(4, 4, sRGB{});
  platform::testing::SetDefaultPrinterEntry("Lumo Printer,LumoPrint");
  EXPECT_FALSE(PrintGraphic(graphic));
  EXPECT_TRUE(LogHas("PrintGraphic() Cannot read the default printer from Win.Ini (Surface="));
  EXPECT_TRUE(PrintedPages().empty());
  DestroyGraphic(graphic);
}

TEST_F(PrintingTest, PrintingRefusesMissingSurfacesAndPrintersWithoutGraphics) {
  ASSERT_TRUE(StartDisplay(Settings(false, true, 16)));
  GraphicHandle graphic = CreateGraphic(4, 4, sRGB{});
  EXPECT_FALSE(PrintGraphic(nullptr));
  EXPECT_TRUE(LogHas("PrintGraphic() Null pointer to the DirectDraw surface specified"));
  EXPECT_FALSE(PrintViewport(nullptr));
  EXPECT_TRUE(LogHas("PrintViewport() Null pointer to the viewport specified"));
  platform::PrinterCapabilities textOnly;
  textOnly.canBlitBitmaps = false;
  platform::testing::SetPrinterCapabilities(textOnly);
  EXPECT_FALSE(PrintGraphic(graphic));
  EXPECT_TRUE(LogHas("PrintGraphic() The printer is not able to display graphics"));
  EXPECT_TRUE(PrintedPages().empty());
  EXPECT_EQ(OpenDeviceContextCount(), 0);
  DestroyGraphic(graphic);
}

}  // namespace
