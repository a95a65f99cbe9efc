#include <gtest/gtest.h>

#include <climits>

#include <map>
#include <string>
#include <vector>

#include "runtime/media.h"
#include "base/text.h"

namespace tovel {
namespace {

// Records every command string; answers from a script, success unless told otherwise.
class RecordingMci : public MciChannel {
 public:
  bool Send(const std::wstring& command, std::wstring* answer) override {
    sent.push_back(Narrow(command));
    auto it = answers.find(sent.back());
    if (answer) *answer = it == answers.end() ? L"" : Widen(it->second);
    return failing.count(sent.back()) == 0;
  }
  bool IsLiveWindow(std::intptr_t w) override { return w == 42; }

  std::vector<std::string> sent;
  std::map<std::string, std::string> answers;
  std::map<std::string, int> failing;
};

int gAliasesMade = 0;
Text MakeAlias() { return "L" + std::to_string(++gAliasesMade); }

TEST(MediaPlayControl, AnAliasMadeOnDemandIsMadeAtTheFirstCommandOnly) {
  RecordingMci mci;
  gAliasesMade = 0;
  {
    MediaPlayControl unused(mci, MakeAlias);
  }
  EXPECT_EQ(gAliasesMade, 0);
  EXPECT_TRUE(mci.sent.empty());
  MediaPlayControl media(mci, MakeAlias);
  media.Stop();
  media.Open("a.mp3");
  EXPECT_EQ(gAliasesMade, 1);
  EXPECT_EQ(media.alias(), "L1");
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"stop L1", "seek L1 to start", "close L1",
                                                "open \"a.mp3\" type MPEGvideo alias L1"}));
}

TEST(MediaPlayControl, OpenClosesTheOldDeviceAndOpensByTypeUnderItsAlias) {
  RecordingMci mci;
  MediaPlayControl media(mci, "A1");
  EXPECT_TRUE(media.Open("D:\\音乐\\노래 1.mp3"));
  ASSERT_EQ(mci.sent.size(), 2u);
  EXPECT_EQ(mci.sent[0], "close A1");
  EXPECT_EQ(mci.sent[1], "open \"D:\\音乐\\노래 1.mp3\" type MPEGvideo alias A1");
  EXPECT_EQ(media.fileType(), "mp3");
  EXPECT_EQ(media.openCount(), 1u);

  mci.failing["open \"C:\\missing.wav\" type waveaudio alias A1"] = 1;
  EXPECT_FALSE(media.Open("C:\\missing.wav"));
  EXPECT_EQ(media.openCount(), 1u);

  // Past MAX_PATH the plain form is refused: the device gets the "\\?\" one, the control keeps the path.
  const Text deep = "D:\\" + std::string(300, 'd') + "\\a.mp3";
  EXPECT_TRUE(media.Open(deep));
  EXPECT_EQ(mci.sent.back(), "open \"\\\\?\\" + deep + "\" type MPEGvideo alias A1");
  EXPECT_EQ(media.fileName(), deep);
}

TEST(MediaPlayControl, DeviceTypesFollowTheFileType) {
  EXPECT_EQ(MediaFileType("C:\\clips\\跪下"), "");
  EXPECT_EQ(MediaDeviceType(MediaFileType("C:\\clips\\跪下")), "MPEGvideo");
  EXPECT_EQ(MediaFileType("a.WMA"), "wma");
  EXPECT_EQ(MediaDeviceType("wma"), "MPEGvideo2");
  EXPECT_EQ(MediaDeviceType("wav"), "waveaudio");
  EXPECT_EQ(MediaDeviceType("mid"), "Sequencer");
  EXPECT_EQ(MediaDeviceType("cda"), "cdaudio");
  EXPECT_EQ(MediaDeviceType("avi"), "avivideo");
  EXPECT_EQ(MediaFileType("film.rmvb"), "rmv");  // never the four-letter entry
  EXPECT_EQ(MediaDeviceType("rmv"), "MPEGvideo");
  EXPECT_EQ(MediaDeviceType("rm"), "MPEGvideo");
}

TEST(MediaPlayControl, PlayPauseAndStopFollowTheirStateRules) {
  RecordingMci mci;
  MediaPlayControl media(mci, "A");
  media.Open("x.mp3");
  mci.sent.clear();

  EXPECT_TRUE(media.Play(-1));
  EXPECT_TRUE(media.Play(1500));
  EXPECT_TRUE(media.PauseResume());
  EXPECT_TRUE(media.paused());
  EXPECT_TRUE(media.PauseResume());
  EXPECT_FALSE(media.paused());
  EXPECT_TRUE(media.PauseResume());  // paused again
  EXPECT_TRUE(media.Stop());         // stop keeps the toggle: it drifts
  EXPECT_TRUE(media.paused());
  media.PauseResume();               // so this resumes
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"play A", "play A from 1500", "pause A", "resume A", "pause A",
                                                "stop A", "seek A to start", "resume A"}));

  mci.sent.clear();
  media.PauseResume();
  media.Play(-1);  // every play clears the toggle
  EXPECT_FALSE(media.paused());
  mci.failing["stop A"] = 1;
  EXPECT_FALSE(media.Stop());
  EXPECT_EQ(mci.sent.back(), "stop A");  // no rewind after a failed stop

  // The toggle flips even when the device refuses.
  mci.failing["pause A"] = 1;
  EXPECT_FALSE(media.PauseResume());
  EXPECT_TRUE(media.paused());
}

TEST(MediaPlayControl, PlayIntoALiveWindowNamesIt) {
  RecordingMci mci;
  MediaPlayControl media(mci, "A");
  EXPECT_TRUE(media.Play(-1, 42));
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"window A handle 42", "play A"}));
  mci.sent.clear();
  media.Play(-1, 7);  // not a window: ignored
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"play A"}));
  mci.failing["window A handle 42"] = 1;
  EXPECT_FALSE(media.Play(-1, 42));
}

TEST(MediaPlayControl, StatusAndLength) {
  RecordingMci mci;
  MediaPlayControl media(mci, "A");
  for (auto [answer, mode] : {std::pair{"playing", MediaMode::Playing}, {"stopped", MediaMode::Stopped},
                              {"paused", MediaMode::Paused}, {"seeking", MediaMode::Other}}) {
    mci.answers["status A mode"] = answer;
    EXPECT_EQ(media.StatusMode(), mode) << answer;
  }
  mci.failing["status A mode"] = 1;
  EXPECT_EQ(media.StatusMode(), MediaMode::Other);

  mci.sent.clear();
  mci.answers["status A length"] = "5999";
  EXPECT_EQ(media.LengthMs(), 5999);
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"status A window handle", "set A time format milliseconds",
                                                "status A length"}));
  EXPECT_EQ(media.LengthSeconds(), 5);
  mci.failing["status A length"] = 1;
  EXPECT_EQ(media.LengthMs(), 0);
}

TEST(MediaPlayControl, VolumeIsTenfoldPerChannelWithinRange) {
  RecordingMci mci;
  MediaPlayControl media(mci, "A");
  EXPECT_TRUE(media.SetVolume(100, 100));
  EXPECT_TRUE(media.SetVolume(37, 37));
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"setaudio A left volume to 1000", "setaudio A right volume to 1000",
                                                "setaudio A left volume to 370", "setaudio A right volume to 370"}));
  mci.sent.clear();
  EXPECT_FALSE(media.SetVolume(101, 50));  // left out of range: only the right is sent
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"setaudio A right volume to 500"}));
  mci.sent.clear();
  EXPECT_FALSE(media.SetVolume(std::nullopt, 50));
  EXPECT_TRUE(media.SetVolume(0, std::nullopt));
  EXPECT_EQ(mci.sent, (std::vector<std::string>{"setaudio A right volume to 500", "setaudio A left volume to 0"}));
  mci.failing["setaudio A right volume to 10"] = 1;
  EXPECT_FALSE(media.SetVolume(1, 1));

  // Checked before the factor of ten: 429496730 * 10 would wrap round to 4.
  mci.sent.clear();
  EXPECT_FALSE(media.SetVolume(429496730, -429496729));
  EXPECT_FALSE(media.SetVolume(INT_MAX, INT_MIN));
  EXPECT_TRUE(mci.sent.empty());
}

}  // namespace
}  // namespace tovel
