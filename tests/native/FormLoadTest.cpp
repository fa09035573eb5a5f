// The window after load: hive list, initial texts and check states, title band, caption, tab order.
#include <algorithm>

#include "runtime/headless/HeadlessRuntime.h"
#include "tests/native/WindowFixture.h"
#include "window/ControlTable.h"

namespace quillon::testing {
namespace {

using FormLoad = WindowTest;

TEST_F(FormLoad, ListsTheSevenHivesInOrderAndNothingElse) {
  EXPECT_EQ(Items(w().List1), (std::vector<std::wstring>{L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER",
                                                          L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_CONFIG",
                                                          L"HKEY_DYN_DATA", L"HKEY_PERFORMANCE_DATA", L"HKEY_USERS"}));
  EXPECT_EQ(w().List1->SelCount(), 0);
  EXPECT_EQ(w().List2->ListCount(), 0);
  EXPECT_EQ(w().List3->ListCount(), 0);
  EXPECT_EQ(w().List2->ListIndex(), -1);
  EXPECT_EQ(w().CurrentKeyPath(), L"");
}

TEST_F(FormLoad, InitialTextsCaptionsAndCheckStates) {
  EXPECT_EQ(w().txtKey->Text(), L"");
  EXPECT_EQ(w().txtFind->Text(), L"Policies");
  EXPECT_EQ(w().txtValueName->Text(), L"DisableRegistryTools");
  EXPECT_EQ(w().txtFindList->Text(), L"");
  EXPECT_EQ(w().lblValueType->Caption(), L"Value Type");
  EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size");
  EXPECT_EQ(w().cmdDeleteGoto->Caption(), L"Remove Favorite");

  EXPECT_EQ(w().chkKeys->Value(), 1);
  EXPECT_EQ(w().chkHive->Value(), 1);
  EXPECT_EQ(w().chkValues->Value(), 0);
  EXPECT_EQ(w().chkDatas->Value(), 0);
  EXPECT_EQ(w().chkFastFind->Value(), 0);
  EXPECT_EQ(w().chkFindBinary->Value(), 0);
  EXPECT_FALSE(w().chkFindBinary->Enabled());
  EXPECT_TRUE(w().chkDatas->Enabled());
}

TEST_F(FormLoad, TitleBandCaptionAndApplicationTitle) {
  const std::uint32_t color = w().picTitle->BackColor();
  EXPECT_EQ(color & 0xFF, 139u);          // red
  EXPECT_EQ((color >> 8) & 0xFF, 155u);   // green
  EXPECT_EQ((color >> 16) & 0xFF, 184u);  // blue
  EXPECT_EQ(w().lblTitle->Caption(), L"Quillon");
  EXPECT_EQ(w().Form().Caption(), L"Quillon");
  EXPECT_EQ(rt().App().Title(), L"Quillon 1.0");

  // The icon is set once during load, from the resource "AAA".
  ASSERT_EQ(iconRequests.size(), 1u);
  EXPECT_EQ(iconRequests[0].second, "AAA");
}

TEST_F(FormLoad, PromptsAndMessagesAreCaptionedWithTheApplicationTitle) {
  runtime::Runtime& forms = rt();
  forms.InputBox(L"Enter Key Name");
  forms.MsgBox(L"Please Select a Hive or a Subkey", runtime::kInformation);
  EXPECT_EQ(rt().Prompts().back().title, L"Quillon 1.0");
  EXPECT_EQ(rt().Messages().back().title, L"Quillon 1.0");
}

TEST(ControlTable, TwentyNineControlsInTabOrderWithTheirPlacesAndFonts) {
  ASSERT_EQ(kControlTable.size(), 29u);
  EXPECT_STREQ(kControlTable.front().name, "List1");
  EXPECT_STREQ(kControlTable[4].name, "txtKey");
  EXPECT_STREQ(kControlTable[25].name, "txtGoTo");
  EXPECT_STREQ(kControlTable.back().name, "lblTitle");
  for (const auto& spec : kControlTable) {
    const bool isTitle = std::string(spec.name) == "lblTitle";
    EXPECT_DOUBLE_EQ(spec.fontPoints, isTitle ? 11.25 : 8.25) << spec.name;
    EXPECT_EQ(spec.parent != nullptr, isTitle) << spec.name;
    // Everything but the title band lies inside the client area.
    if (std::string(spec.name) != "picTitle" && !isTitle) {
      EXPECT_LE(spec.left + spec.width, kClientWidthTwips) << spec.name;
      EXPECT_LE(spec.top + spec.height, kClientHeightTwips) << spec.name;
    }
  }
  // Names are unique.
  for (std::size_t i = 0; i < kControlTable.size(); ++i) {
    for (std::size_t j = i + 1; j < kControlTable.size(); ++j) {
      EXPECT_STRNE(kControlTable[i].name, kControlTable[j].name);
    }
  }
  EXPECT_EQ(std::wstring(kWindowFont.faceName), L"Tahoma");
  EXPECT_EQ(kWindowFont.charSet, 177);
}

TEST(ControlTable, WindowCreatesItsControlsInTabOrder) {
  runtime::HeadlessRuntime rt;
  registry::MemoryRegistry reg;
  frmRegEdit window(rt, reg, nullptr);
  const auto& specs = static_cast<runtime::HeadlessForm&>(window.Form()).Specs();
  ASSERT_EQ(specs.size(), kControlTable.size());
  for (std::size_t i = 0; i < specs.size(); ++i) EXPECT_STREQ(specs[i].name, kControlTable[i].name);
  // Load runs on the first Show only, before the window is visible.
  EXPECT_EQ(window.List1->ListCount(), 0);
  window.Show();
  window.Show();
  EXPECT_EQ(window.List1->ListCount(), 7);
}

}  // namespace
}  // namespace quillon::testing
