// The viewer's one screen: the skeleton over its background on the left, the
// time bar below it, the controls on the right; it reloads the files when
// they change and keeps the last good skeleton when they do not load.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Content.h"
#include "Layout.h"
#include "Options.h"
#include "Text.h"
#include "framework/core/Screen.h"
#include "framework/graphics/Graphic2D.h"

namespace TarnFramework {
class Font;
class Listbox;
class SimpleButton;
class WidgetTrackBar;
}  // namespace TarnFramework

namespace TarnSkel {
class SkelAnimation;
}

namespace skelview {

class Playback;

class ViewerScreen : public TarnFramework::Screen {
 public:
  // The font is not owned and must outlive the screen.
  ViewerScreen(const Options& options, TarnFramework::Font* font);
  ~ViewerScreen() override;

  // Loads the files (a GL context must be current); false with the reason.
  bool Open(std::string& error);

  bool OnEvent(int32_t kind, TarnFramework::Widget* sender, int32_t x, int32_t y, int64_t param) override;
  void OnResize(int32_t width, int32_t height) override;
  bool Update() override;
  bool Draw() override;
  void Release() override;

 private:
  struct Shown {
    std::string text;
    int32_t framesLeft;
  };

  void BuildWidgets();
  TarnFramework::SimpleButton* AddButton(int32_t right, int32_t top, const std::string& label);
  TarnFramework::Listbox* AddList(int32_t top, int32_t height);
  TarnFramework::WidgetTrackBar* AddBar(int32_t right, int32_t top, int32_t width);
  void SetLabel(TarnFramework::SimpleButton* button, const std::string& label);
  void RefreshLabels();
  void FillLists();
  // Makes the sprite and its clock over the loaded content, with the
  // animation, skin and mix named (or the first animation and no skin).
  void StartContent(const std::string& animation, const std::string& skin, const std::string& mixTo, double mixSeconds,
                    double time);
  void ReleaseContent();
  void Reload();
  void WatchFiles();
  void Step(int frames);
  void TogglePlay();
  void SaveScreenshot();
  void ShowStatus(const std::string& text, uint32_t color, int32_t frames);
  // Wheel zoom, drag pan and click pick over the view.
  void HandleView();
  bool OverView(int32_t px, int32_t py) const;
  void Pick(int32_t px, int32_t py);
  void CycleBackdrop();
  void FillSlotList();
  void ToggleSlot(int index);
  // The poses before and after, faint, under the pose at placement.
  void DrawOnion(const Placement& placement);
  void DrawBackdrop(const Area& view);
  // A press on the time bar's track, away from its thumb, moves the thumb there.
  void SeekOnTrackPress(bool wasDragging);
  // Bars let go of this frame take the pointer's place at the release.
  void SettleDrags();
  // A click on the track too quick for the bar to see the button down.
  void SeekOnQuickClick(bool wasDragging);
  // The value that puts the thumb's centre at cursor; false on the thumb.
  bool TrackValueAt(int32_t cursor, double& value) const;

  Options options_;
  TarnFramework::Font* font_;
  TextPainter painter_;

  TarnSkel::SkelData content_;
  TarnSkel::SkelAnimation* sprite_ = nullptr;
  Playback* playback_ = nullptr;
  std::string skin_;
  FileWatch watch_;
  double lastPoll_ = 0;  // seconds on the steady clock

  bool playing_ = true;
  bool showBones_ = false;
  bool showBounds_ = false;
  double speed_ = 1.0;
  bool screenshotRequested_ = false;
  bool dragPlaying_ = false;

  std::string error_;  // the last failed reload's reason, shown in red
  std::string status_;
  uint32_t statusColor_ = 0xFFFFFFFF;
  int32_t statusFrames_ = 0;
  std::vector<Shown> events_;

  TarnFramework::Graphic2D checker_;

  enum class Backdrop { Checker, Dark, Light, Colour };
  Backdrop backdrop_ = Backdrop::Checker;
  Camera camera_;
  bool onion_ = false;
  // A left press in the view: a click names what is under it, a drag pans.
  bool viewPress_ = false;
  bool panning_ = false;
  int32_t lastX_ = 0, lastY_ = 0;
  // Hidden slots by name, so they stay hidden across reloads; hidden_ marks
  // them by index in the skeleton shown.
  std::set<std::string> hiddenSlots_;
  std::vector<bool> hidden_;
  int picked_ = -1;  // slot index, -1 for none
  std::string pickedText_;

  TarnFramework::Listbox* animationList_ = nullptr;
  TarnFramework::Listbox* skinList_ = nullptr;
  TarnFramework::Listbox* mixList_ = nullptr;
  TarnFramework::Listbox* slotList_ = nullptr;
  TarnFramework::SimpleButton* playButton_ = nullptr;
  TarnFramework::SimpleButton* backButton_ = nullptr;
  TarnFramework::SimpleButton* forwardButton_ = nullptr;
  TarnFramework::SimpleButton* loopButton_ = nullptr;
  TarnFramework::SimpleButton* bonesButton_ = nullptr;
  TarnFramework::SimpleButton* boundsButton_ = nullptr;
  TarnFramework::WidgetTrackBar* timeBar_ = nullptr;
  TarnFramework::WidgetTrackBar* speedBar_ = nullptr;
  TarnFramework::WidgetTrackBar* mixBar_ = nullptr;
};

}  // namespace skelview
