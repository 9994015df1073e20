// Process services: the floating-point environment and the current directory.
#include <gtest/gtest.h>
#include <windows.h>
#include <float.h>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include <cfenv>
#include <string>

#include "platform/platform.h"

namespace pelmora::platform {
namespace {

TEST(FloatingPoint, ResetGivesRoundToNearestWithEveryExceptionMasked) {
  // Spoil the environment the way a foreign library might.
  _controlfp(_RC_DOWN, _MCW_RC);
  _controlfp(_MCW_EM & ~_EM_ZERODIVIDE, _MCW_EM);
#if defined(__SSE__)
  _mm_setcsr((_mm_getcsr() & ~0x7F80u) | 0x6000u);  // round toward zero, nothing masked
#endif
  ResetFloatingPointEnvironment();

  EXPECT_EQ(fegetround(), FE_TONEAREST);
  EXPECT_EQ(_controlfp(0, 0) & _MCW_EM, static_cast<unsigned>(_MCW_EM));
  EXPECT_EQ(_controlfp(0, 0) & _MCW_RC, static_cast<unsigned>(_RC_NEAR));
#if defined(__i386__)
  EXPECT_EQ(_controlfp(0, 0) & _MCW_PC, static_cast<unsigned>(_PC_64));
#endif
#if defined(__SSE__)
  EXPECT_EQ(_mm_getcsr() & 0xFFC0u, 0x1F80u);
#endif
  // The period product of the program: 0.57 s is 570 ms, not 569.
  volatile double seconds = 0.57;
  const double product = seconds * 1000.0;
  EXPECT_EQ(static_cast<long long>(product), 570);
  // A division by zero gives infinity instead of a fault.
  volatile double zero = 0.0;
  EXPECT_TRUE(1.0 / zero > 1e308);
}

TEST(Directories, ChangeDirectoryTakesCodePage936PathsAndReportsFailure) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"pelmora-\x81EA\x52A8";  // 自动
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::string before = WorkingDirectory();

  char tempBytes[MAX_PATH * 2] = {};
  WideCharToMultiByte(936, 0, temp, -1, tempBytes, sizeof tempBytes, nullptr, nullptr);
  const std::string folderBytes = std::string(tempBytes) + "pelmora-\xD7\xD4\xB6\xAF";
  ASSERT_TRUE(ChangeDirectory(folderBytes));
  EXPECT_EQ(WorkingDirectory(), folderBytes);
  EXPECT_FALSE(ChangeDirectory(folderBytes + "\\missing"));
  EXPECT_EQ(WorkingDirectory(), folderBytes);

  ASSERT_TRUE(ChangeDirectory(before));
  RemoveDirectoryW(folder.c_str());
}

TEST(ProgramFile, PathNamesThisProgramWithBackslashes) {
  const std::string path = ProgramPath();
  const std::string name = "pelmora_win32_tests.exe";
  ASSERT_GT(path.size(), name.size());
  EXPECT_EQ(path.substr(path.size() - name.size()), name);
  EXPECT_EQ(path[path.size() - name.size() - 1], PathSeparator());
}

TEST(ErrorMode, WideningKeepsTheModeInForceAndAddsTheTwoQuietFlags) {
  const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  WidenErrorMode();
  const UINT widened = SetErrorMode(before);
  EXPECT_EQ(widened, static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS |
                                       SEM_NOOPENFILEERRORBOX));
}

TEST(Values, ComeFromTheProcessHeap) {
  void* block = HeapAllocate(100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 100u);
  HeapRelease(block);
  HeapRelease(nullptr);  // nothing to give back
}

TEST(Help, AMissingFileOpensNothing) {
  EXPECT_FALSE(OpenHelp("C:\\pelmora-no-such-folder\\help.chm", 0));
  EXPECT_FALSE(OpenHelp("", 7));
}

}  // namespace
}  // namespace pelmora::platform
