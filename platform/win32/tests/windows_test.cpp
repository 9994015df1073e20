// Texts, the edit box's text band, painting and icons on real windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/tests/test_windows.h"

namespace pelmora::platform {
namespace {

using win32::ToHwnd;
using win32::testing::MakeChild;
using win32::testing::MakeTopLevel;
using win32::testing::PumpFor;
using win32::testing::RecordingProcedure;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = MakeTopLevel(frameProcedure_);
    ASSERT_NE(frame_, WindowHandle::None);
  }
  void TearDown() override {
    DestroyNativeWindow(frame_);
    PumpFor(20);
  }
  RecordingProcedure frameProcedure_;
  WindowHandle frame_ = WindowHandle::None;
};

struct TextCase {
  const char* name;
  std::string cp936;
  std::wstring wide;
};

class TextRoundTrip : public WindowTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextRoundTrip, SetTextShowsTheCharactersAndTextOfGivesTheBytesBack) {
  const TextCase& c = GetParam();
  RecordingProcedure editProcedure;
  const WindowHandle edit = MakeChild(WindowClass::Edit, frame_, editProcedure, {5, 5, 200, 24});
  for (const WindowHandle window : {frame_, edit}) {
    SetText(window, c.cp936);
    wchar_t shown[64] = {};
    GetWindowTextW(ToHwnd(window), shown, 64);
    EXPECT_EQ(std::wstring(shown), c.wide);
    EXPECT_EQ(TextOf(window), c.cp936);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextRoundTrip,
    ::testing::Values(
        // 自动刷新
        TextCase{"Chinese", "\xD7\xD4\xB6\xAF\xCB\xA2\xD0\xC2", L"\x81EA\x52A8\x5237\x65B0"},
        TextCase{"Ascii", "Pelmora 12345", L"Pelmora 12345"},
        // Pelmora 停止 (mixed single- and double-byte characters)
        TextCase{"Mixed", "Pelmora \xCD\xA3\xD6\xB9", L"Pelmora \x505C\x6B62"},
        TextCase{"Empty", "", L""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ACharacterCodePage936CannotHoldComesBackAsQuestionMark) {
  SetWindowTextW(ToHwnd(frame_), L"A\x0E01" L"B");  // a Thai letter between two Latin ones
  EXPECT_EQ(TextOf(frame_), "A?B");
}

TEST_F(WindowTest, EditTextBandShrinksTheClientAreaAndTheBandsAreFrame) {
  RecordingProcedure editProcedure;
  const WindowHandle edit =
      MakeChild(WindowClass::Edit, frame_, editProcedure, {10, 10, 200, 40}, 0,
                vocab::exstyle::ClientEdge, "text");
  ASSERT_NE(edit, WindowHandle::None);
  const Size full = ClientSizeOf(edit);
  constexpr int kLine = 16;
  const int top = (full.height - kLine) / 2;
  SetEditTextBand(edit, top, kLine);
  const HWND hwnd = ToHwnd(edit);
  RECT line{};
  GetClientRect(hwnd, &line);
  EXPECT_EQ(line.bottom - line.top, kLine);
  // The run time still sees the whole area, and setting the same band again changes nothing.
  EXPECT_EQ(ClientSizeOf(edit), full);
  SetEditTextBand(edit, top, kLine);
  GetClientRect(hwnd, &line);
  EXPECT_EQ(line.bottom - line.top, kLine);

  POINT lineOrigin{0, 0};
  ClientToScreen(hwnd, &lineOrigin);
  const auto hitTest = [&](int clientY) {
    return SendMessageW(hwnd, WM_NCHITTEST, 0,
                        MAKELPARAM(lineOrigin.x + 20, lineOrigin.y + clientY));
  };
  EXPECT_EQ(hitTest(kLine / 2), HTCLIENT);
  EXPECT_EQ(hitTest(-top / 2 - 1), HTBORDER);         // the band above the line
  EXPECT_EQ(hitTest(kLine + (full.height - kLine - top) / 2), HTBORDER);  // below it
  EXPECT_EQ(TextOf(edit), "text");

  // Removing the band gives the whole client area back.
  SetEditTextBand(edit, 0, 0);
  GetClientRect(hwnd, &line);
  EXPECT_EQ(line.bottom - line.top, full.height);
}

TEST_F(WindowTest, EditColoursFillTheTextLineAndTheBandsAroundIt) {
  constexpr Colour kGreen = 0x0000FF00;
  RecordingProcedure editProcedure;
  const WindowHandle edit =
      MakeChild(WindowClass::Edit, frame_, editProcedure, {10, 10, 200, 40}, 0, 0, "x");
  ASSERT_NE(edit, WindowHandle::None);
  SetEditTextBand(edit, 12, 16);
  SetColours(edit, 0x00000000, kGreen);
  const HWND hwnd = ToHwnd(edit);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  PumpFor(30);

  const HDC windowDc = GetWindowDC(hwnd);
  EXPECT_EQ(GetPixel(windowDc, 150, 5), RGB(0, 255, 0)) << "band above the line";
  EXPECT_EQ(GetPixel(windowDc, 150, 35), RGB(0, 255, 0)) << "band below the line";
  ReleaseDC(hwnd, windowDc);
  const HDC lineDc = GetDC(hwnd);
  EXPECT_EQ(GetPixel(lineDc, 150, 8), RGB(0, 255, 0)) << "the text line beside the text";
  ReleaseDC(hwnd, lineDc);
}

TEST_F(WindowTest, PaintHandsTheProcedureACanvasThatDrawsIntoTheWindow) {
  constexpr Colour kRed = 0x000000FF;
  Rect invalidSeen;
  RecordingProcedure labelProcedure;
  labelProcedure.answer = [&](const Message& m) -> std::intptr_t {
    if (m.id != vocab::msg::Paint) return 0;
    auto* canvas = reinterpret_cast<Canvas*>(m.lParam);
    invalidSeen = canvas->InvalidRect();
    canvas->FillRect(Rect{0, 0, 80, 30}, kRed);
    canvas->SelectFont(FontSpec{});
    canvas->DrawTextIn("\xD7\xD4", Rect{0, 0, 80, 30}, vocab::dt::SingleLine, 0);
    return 0;
  };
  const WindowHandle label = MakeChild(WindowClass::Label, frame_, labelProcedure, {0, 0, 80, 30});
  ASSERT_NE(label, WindowHandle::None);
  Invalidate(label);
  UpdateWindow(ToHwnd(label));
  EXPECT_EQ(invalidSeen, (Rect{0, 0, 80, 30}));
  const HDC dc = GetDC(ToHwnd(label));
  EXPECT_EQ(GetPixel(dc, 70, 25), RGB(255, 0, 0));
  ReleaseDC(ToHwnd(label), dc);
}

// A 16x16 32-bit icon file of one colour, as a description would store it.
std::vector<std::uint8_t> OneColourIconFile() {
  std::vector<std::uint8_t> image;
  const auto put32 = [&](std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto put16 = [&](std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  put32(image, 40);
  put32(image, 16);
  put32(image, 32);
  put16(image, 1);
  put16(image, 32);
  for (int i = 0; i < 6; ++i) put32(image, 0);
  for (int i = 0; i < 16 * 16; ++i) put32(image, 0xFF2080E0);
  image.insert(image.end(), 16 * 4, 0);  // the AND mask
  std::vector<std::uint8_t> file;
  put16(file, 0);
  put16(file, 1);
  put16(file, 1);
  file.insert(file.end(), {16, 16, 0, 0});
  put16(file, 1);
  put16(file, 32);
  put32(file, static_cast<std::uint32_t>(image.size()));
  put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

TEST_F(WindowTest, SetIconUsesTheDataOrFallsBackToTheProgramsIcon) {
  const HWND hwnd = ToHwnd(frame_);
  const auto bigIcon = [&] { return reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)); };
  const HANDLE programIcon =
      LoadImageW(GetModuleHandleW(nullptr), L"DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR | LR_SHARED);
  ASSERT_NE(programIcon, nullptr) << "the resources lack DEFAULT_ICON";

  SetIcon(frame_, {});
  EXPECT_EQ(bigIcon(), programIcon);

  const std::vector<std::uint8_t> notAnIcon{'G', 'I', 'F', '8', '9', 'a', 0, 0};
  SetIcon(frame_, notAnIcon);
  EXPECT_EQ(bigIcon(), programIcon);

  const std::vector<std::uint8_t> iconFile = OneColourIconFile();
  SetIcon(frame_, iconFile);
  EXPECT_NE(bigIcon(), nullptr);
  EXPECT_NE(bigIcon(), programIcon);
}

TEST_F(WindowTest, BoundsOfAChildAreInTheParentsClientArea) {
  RecordingProcedure labelProcedure;
  const WindowHandle label =
      MakeChild(WindowClass::Label, frame_, labelProcedure, {7, 9, 50, 20});
  EXPECT_EQ(BoundsOf(label), (Rect{7, 9, 50, 20}));
  SetBounds(label, Rect{11, 13, 60, 25});
  EXPECT_EQ(BoundsOf(label), (Rect{11, 13, 60, 25}));
  EXPECT_EQ(BoundsOf(frame_), (Rect{120, 120, 320, 220}));
}

struct ShapeCase {
  const char* name;
  std::int32_t shape;
  bool hasRegion;
  // Points of the 320 x 220 window, and whether the shaped window keeps them.
  bool keepsCorner;
  bool keepsCentre;
  bool keepsMiddleOfLeftEdge;
};

class ShapeTest : public WindowTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(ShapeTest, CutsTheWindowToItsOutline) {
  const ShapeCase& c = GetParam();
  SetShape(frame_, 1);  // start from a shaped window: every case must replace or remove it
  SetShape(frame_, c.shape);
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool hasRegion = GetWindowRgn(ToHwnd(frame_), region) != ERROR;
  EXPECT_EQ(hasRegion, c.hasRegion);
  if (hasRegion) {
    EXPECT_EQ(PtInRegion(region, 1, 1) != FALSE, c.keepsCorner);
    EXPECT_EQ(PtInRegion(region, 160, 110) != FALSE, c.keepsCentre);
    EXPECT_EQ(PtInRegion(region, 4, 110) != FALSE, c.keepsMiddleOfLeftEdge);
  }
  DeleteObject(region);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapeTest,
    ::testing::Values(ShapeCase{"Rectangle", 0, false, true, true, true},
                      ShapeCase{"Ellipse", 1, true, false, true, true},
                      ShapeCase{"RoundedRectangle", 2, true, false, true, true},
                      ShapeCase{"Ring", 3, true, false, false, true},
                      ShapeCase{"UnknownStaysRectangular", 9, false, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, TopmostAndTheMoveCommandFollowTheirSetters) {
  const HWND hwnd = ToHwnd(frame_);
  SetTopmost(frame_, true);
  EXPECT_NE(ExStyleOf(frame_) & vocab::exstyle::Topmost, 0u);
  SetTopmost(frame_, false);
  EXPECT_EQ(ExStyleOf(frame_) & vocab::exstyle::Topmost, 0u);

  ASSERT_NE(GetMenuState(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
  RemoveMoveCommand(frame_);
  EXPECT_EQ(GetMenuState(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

}  // namespace
}  // namespace pelmora::platform
