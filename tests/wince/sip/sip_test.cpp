// The SIP manager's functions record each call, in order, for the stand-in
// SIP manager to act on.
#include <gtest/gtest.h>
#include <sip.h>

#include <windows.h>

#include "wince/host/sip.h"

namespace {

// The flags as the SIP interfaces define them.
constexpr DWORD SIP_OFF = 0;
constexpr DWORD SIP_ON = 1;

TEST(SipFunctions, CallsAreRecordedInOrder) {
  wince::host::ClearSipCalls();
  CLSID clsid = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_TRUE(SipSetCurrentIM(&clsid));
  EXPECT_TRUE(SipShowIM(SIP_OFF));
  EXPECT_TRUE(SipShowIM(SIP_ON));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(SipSetCurrentIM(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  const auto& calls = wince::host::SipCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, wince::host::SipCall::SetCurrent);
  EXPECT_TRUE(IsEqualGUID(calls[0].clsid, clsid));
  EXPECT_EQ(calls[1].kind, wince::host::SipCall::Show);
  EXPECT_EQ(calls[1].flags, SIP_OFF);
  EXPECT_EQ(calls[2].flags, SIP_ON);
  wince::host::ClearSipCalls();
  EXPECT_TRUE(wince::host::SipCalls().empty());
}

}  // namespace
