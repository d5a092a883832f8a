// A copy made with Shift and Ctrl held opens a web search for the copied text; the detector
// keeps its place in the clipboard viewer chain.

#include "clipsearch/ClipSearch.h"
#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class ClipSearchTest : public EngineFixture {
 protected:
  platform::Hwnd viewerBefore{};  // a viewer that joined the chain before Varnel

  platform::Hwnd OtherViewer(const char* className) {
    sim::SimWindow window;
    window.className = className;
    window.processId = system.desktop.AddProcess("viewer.exe");
    return system.desktop.AddWindow(window);
  }

  void StartWithViewerAhead(const std::string& ini = "[Watch]\r\nBrowser=1\r\n") {
    viewerBefore = OtherViewer("OtherViewer");
    system.clipboard.JoinWithoutNotice(viewerBefore);
    Start(ini);
  }
  void Copy(const std::string& utf8, bool shift = true, bool control = true) {
    system.desktop.SetKeyHeld(platform::VkShift, shift);
    system.desktop.SetKeyHeld(platform::VkControl, control);
    system.clipboard.SetContents({{platform::CfUnicodeText, utf8}});
  }
  std::vector<std::string> Searches() const {
    std::vector<std::string> searches;
    for (const auto& call : system.shell.Calls()) {
      if (call.verb == "open") searches.push_back(call.file);
    }
    return searches;
  }
  std::string Search(const std::string& escaped) {
    return std::string(kSearchRequest) + escaped;
  }
};

TEST(EscapeSearchText, TheEngineReceivesExactlyTheCopiedText) {
  EXPECT_EQ(EscapeSearchText("AT&T C# 100%"), "AT%26T%20C%23%20100%25");
  EXPECT_EQ(EscapeSearchText("a+b=c?d/e:f'g\"h<i>"), "a%2Bb%3Dc%3Fd%2Fe%3Af%27g%22h%3Ci%3E");
  EXPECT_EQ(EscapeSearchText("Az09-._~"), "Az09-._~");
  // あ then a: UTF-8 E3 81 82 61, read in pairs where a byte looks like a lead byte.
  EXPECT_EQ(EscapeSearchText("\xE3\x81\x82" "a"), "%E3%81%82%61");
  EXPECT_EQ(EscapeSearchText("日本"), "%E6%97%A5%E6%9C%AC");
  EXPECT_EQ(EscapeSearchText("\xFF"), "%FF");
  EXPECT_EQ(EscapeSearchText(std::string("\x81", 1)), "%81");  // a lead byte at the end
  EXPECT_EQ(EscapeSearchText(""), "");
}

TEST_F(ClipSearchTest, ACopyWithShiftAndCtrlHeldOpensTheSearchAndNothingElseDoes) {
  StartWithViewerAhead();
  Copy("AT&T C# 100%", true, false);
  Copy("AT&T C# 100%", false, true);
  EXPECT_TRUE(Searches().empty());
  Copy("AT&T C# 100%");
  ASSERT_EQ(Searches(), std::vector<std::string>{Search("AT%26T%20C%23%20100%25")});
  const sim::ShellExecuteCall& call = system.shell.Calls().back();
  EXPECT_EQ(call.owner, system.desktop.GetDesktopWindow());
  EXPECT_EQ(call.showCommand, platform::SwShow);

  Copy("");
  EXPECT_EQ(Searches().back(), Search(""));
  // A picture: no text at all.
  system.clipboard.SetContents({{2, "bitmap"}});
  EXPECT_EQ(Searches().size(), 2u);
  // Held open by another program: no text could be read, so none is searched.
  system.clipboard.SetLocked(true);
  Copy("x");
  EXPECT_EQ(Searches().size(), 2u);
}

TEST_F(ClipSearchTest, TextIsReadAsUnicodeWhereOfferedElseFromShiftJis) {
  StartWithViewerAhead();
  Copy("Ünïcödé 日本");
  EXPECT_EQ(Searches().back(), Search("%C3%9C%6E%C3%AFc%C3%B6d%C3%A9%20%E6%97%A5%E6%9C%AC"));
  system.clipboard.SetContents({{platform::CfText, "\x93\xFA\x96\x7B"}});  // 日本 in Shift_JIS
  EXPECT_EQ(Searches().back(), Search("%E6%97%A5%E6%9C%AC"));
}

TEST_F(ClipSearchTest, OffTheFeatureSearchesNothingYetTheChainIsServed) {
  StartWithViewerAhead("[Watch]\r\nBrowser=0\r\n");
  system.desktop.ClearCalls();
  Copy("text");
  EXPECT_TRUE(Searches().empty());
  const std::vector<std::string> passedOn = {
      "SendMessage(" + sim::HandleText(form->NkClipDetector1->Handle()) + ", 0x308, 0x0, 0)",
      "SendMessageTimeout(" + sim::HandleText(viewerBefore) + ", 0x308, 0x0, 0, 0x2, 1000)"};
  EXPECT_EQ(system.desktop.Calls(), passedOn);
}

TEST_F(ClipSearchTest, TheDetectorJoinsQuietlyKeepsItsNextViewerAndLeavesTheChain) {
  // Text and keys ready before the start: the notice at joining searches nothing.
  system.clipboard.SetContents({{platform::CfUnicodeText, "early"}});
  system.desktop.SetKeyHeld(platform::VkShift, true);
  system.desktop.SetKeyHeld(platform::VkControl, true);
  StartWithViewerAhead();
  TNkClipDetector& detector = *form->NkClipDetector1;
  const platform::Hwnd own = detector.Handle();
  EXPECT_EQ(system.clipboard.Head(), own);
  EXPECT_EQ(detector.NextViewer(), viewerBefore);
  EXPECT_TRUE(Searches().empty());

  // Another viewer further down leaves: the notice goes on to our next viewer.
  const platform::Hwnd third = OtherViewer("Third");
  system.desktop.ClearCalls();
  system.desktop.SendMessage(own, platform::WmChangeCbChain, 0x4242,
                             static_cast<std::intptr_t>(third));
  EXPECT_EQ(system.desktop.Calls().back(), "SendMessageTimeout(" + sim::HandleText(viewerBefore) +
                                               ", 0x30d, 0x4242, " +
                                               std::to_string(static_cast<std::uintptr_t>(third)) +
                                               ", 0x2, 1000)");
  // Our next viewer leaves: the one after it becomes our next, and it is not told.
  system.desktop.ClearCalls();
  system.desktop.SendMessage(own, platform::WmChangeCbChain,
                             static_cast<std::uintptr_t>(viewerBefore),
                             static_cast<std::intptr_t>(third));
  EXPECT_EQ(detector.NextViewer(), third);
  EXPECT_EQ(system.desktop.Calls().size(), 1u);

  detector.SetOnClipChange(nullptr);
  EXPECT_EQ(detector.Handle(), platform::kNoWindow);
  EXPECT_EQ(system.clipboard.Head(), third);
}

}  // namespace
}  // namespace varnel::testing
