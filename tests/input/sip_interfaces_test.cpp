// The SIP interface identifiers and structures as the device's SIP manager
// knows them: a wrong byte here and the SIP manager never finds the interface.
#include "im/sip_interfaces.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>

namespace input_test {
namespace {

std::string GuidText(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

TEST(SipInterfaces, IdentifiersAreThePlatformOnes) {
  EXPECT_EQ(GuidText(IID_IInputMethod), "42429666-AE04-11D0-A4F8-00AA00A749B9");
  EXPECT_EQ(GuidText(IID_IIMCallback), "42429669-AE04-11D0-A4F8-00AA00A749B9");
  EXPECT_EQ(GuidText(IID_IUnknown), "00000000-0000-0000-C000-000000000046");
  EXPECT_EQ(GuidText(IID_IClassFactory), "00000001-0000-0000-C000-000000000046");
  EXPECT_TRUE(IsEqualIID(IID_IInputMethod, IID_IInputMethod));
  EXPECT_FALSE(IsEqualIID(IID_IInputMethod, IID_IIMCallback));
  GUID lastByte = IID_IUnknown;
  lastByte.Data4[7] ^= 1;
  EXPECT_FALSE(IsEqualGUID(lastByte, IID_IUnknown));
}

TEST(SipInterfaces, StructuresKeepTheirFieldOrder) {
  EXPECT_EQ(offsetof(IMINFO, cbSize), 0u);
  EXPECT_LT(offsetof(IMINFO, hImageNarrow), offsetof(IMINFO, hImageWide));
  EXPECT_LT(offsetof(IMINFO, hImageWide), offsetof(IMINFO, iNarrow));
  EXPECT_EQ(offsetof(IMINFO, iWide), offsetof(IMINFO, iNarrow) + 4);
  EXPECT_EQ(offsetof(IMINFO, fdwFlags), offsetof(IMINFO, iWide) + 4);
  EXPECT_EQ(offsetof(IMINFO, rcSipRect), offsetof(IMINFO, fdwFlags) + 4);
  EXPECT_EQ(offsetof(SIPINFO, rcVisibleDesktop), 8u);
  EXPECT_EQ(offsetof(SIPINFO, rcSipRect), 24u);
  EXPECT_EQ(offsetof(SIPINFO, dwImDataSize), 40u);
  EXPECT_EQ(SIPF_OFF, 0);
  EXPECT_EQ(SIPF_ON, 1);
  EXPECT_EQ(SIPF_DOCKED, 2);
  EXPECT_EQ(SIPF_LOCKED, 4);
}

}  // namespace
}  // namespace input_test
