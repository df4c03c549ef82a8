// The viewer's one screen: the skeleton over its background on the left, the
// time bar below it, the controls on the right; it reloads the files when
// they change and keeps the last good skeleton when they do not load.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
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

namespace skeledit {
class Editor;
}

namespace skelview {

class Playback;

// True when nothing is at path yet: the viewer then starts a new skeleton there.
bool SkeletonFileMissing(const std::string& path);

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

  // Editing (ViewerEdit.cpp): the document behind the view, the mode, the
  // selected bone, the gestures that make commands, and the questions asked
  // before unsaved edits would be lost.
 public:
  // Starts with no file: an empty skeleton with one bone, over the atlas.
  bool OpenNewSkeleton(std::string& error);

 private:
  enum class BoneDrag { None, Armed, Rotate, Move, Scale };
  enum class Prompt { None, Close, DiskChanged };
  void OpenEditor();
  void CloseEditor();
  void BuildEditWidgets();
  void FillBoneList();
  void UpdateEditing();
  void OnFilesChanged();
  bool EditOwnsPointer() const { return boneDrag_ != BoneDrag::None || keyDrag_ || prompt_ != Prompt::None; }
  bool RunEdit(const std::vector<std::string>& words, bool gesture);
  void ShowEditorSkeleton();
  void ShowSetupPose();
  void SelectBone(const std::string& name);
  int JointAt(int32_t px, int32_t py) const;
  void DragBone();
  void KeySelectedBone();
  // Keys go into the animation shown: not while the mix preview plays two.
  bool CanKey();
  void UndoRedo(bool undo);
  bool SaveEdits();
  void AnswerPrompt(int choice);
  // The selected bone's keys in the animation shown: timeline and time.
  std::vector<std::pair<std::string, float>> SelectedBoneKeys() const;
  int32_t KeyMarkerX(double time) const;
  // The time of the key marker at the point; false when none is there.
  bool KeyMarkerAt(int32_t px, int32_t py, float& time) const;
  void HandleKeyMarkers();
  void DrawEditing(const Area& view);
  void RefreshTitle();
  std::string AnimationForKeys() const;

  skeledit::Editor* editor_ = nullptr;  // owned; null when the file cannot be edited
  std::string editorError_;
  bool animateMode_ = true;  // the viewer's own view: animations play
  std::string selectedBone_;
  TarnFramework::Listbox* boneList_ = nullptr;
  std::vector<std::string> boneNames_;
  BoneDrag boneDrag_ = BoneDrag::None;
  bool dragScale_ = false, dragMove_ = false;  // the modifiers at the press
  float dragStart_[5] = {};                    // rotation, x, y, scaleX, scaleY
  double dragAngle_ = 0, dragLastAngle_ = 0;
  int32_t pressX_ = 0, pressY_ = 0;
  std::string dragValues_;                 // shown while dragging
  std::vector<std::string> dragCommands_;  // the drag's last commands, told at its end
  bool keyDrag_ = false;
  float keyDragFrom_ = 0, keyDragTo_ = 0;
  Prompt prompt_ = Prompt::None;
  bool quit_ = false;
  bool clickTaken_ = false;  // this frame's click was the editor's (a prompt's button)
  bool titleModified_ = false;
};

}  // namespace skelview
