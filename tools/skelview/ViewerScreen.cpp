#include "ViewerScreen.h"

#include <GLFW/glfw3.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "Layout.h"
#include "Overlay.h"
#include "Pick.h"
#include "Playback.h"
#include "Text.h"
#include "framework/core/Key.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "framework/graphics/Primitives.h"
#include "framework/graphics/ReadBack.h"
#include "framework/skel/SkelAnimation.h"
#include "framework/text/TextString.h"
#include "framework/widgets/Listbox.h"
#include "framework/widgets/SimpleButton.h"
#include "framework/widgets/WidgetTrackBar.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"

using namespace TarnFramework;

namespace skelview {

namespace {

constexpr uint32_t kPanelColor = 0xFF3A2A2A;
constexpr uint32_t kErrorBand = 0xE0000028;
constexpr uint32_t kGoodColor = 0xFF60E060;  // green
constexpr uint32_t kTextBand = 0xC0202020;
constexpr uint32_t kEventColor = 0xFF00D8FF;  // amber
constexpr int32_t kEventFrames = 30;          // half a second
constexpr double kPollSeconds = 0.05;
constexpr double kMinSpeed = 0.1, kMaxSpeed = 2.0;
constexpr uint32_t kDimGrey = 0xFF303030;
constexpr uint32_t kDarkBackdrop = 0xFF282828;
constexpr uint32_t kLightBackdrop = 0xFFF0F0F0;
constexpr uint32_t kPickColor = 0xFF00FFFF;     // yellow
constexpr uint32_t kPreviousTint = 0x60FF8040;  // faint blue
constexpr uint32_t kNextTint = 0x6040C040;      // faint green
constexpr float kWheelZoom = 1.25f;             // one notch
constexpr int32_t kDragSlop = 3;                // pixels a click may wander

// The mix bar's value for a duration and back, in steps of 0.05 s.
double MixFromBar(double value) { return std::round(value * kMaxMixSeconds / 0.05) * 0.05; }
// Scrubbed times land on whole frames, as the game shows them.
double SnapToFrame(double seconds) { return std::round(seconds / kFrameSeconds) * kFrameSeconds; }

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
  char text[160];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string SkinName(skel::Skin* skin) { return skin && skin->getName().buffer() ? skin->getName().buffer() : ""; }

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Ctrl+S saves edits; S alone takes a screenshot.
bool ControlHeld() {
  for (const KeyTable* table : {&g_system->keyboard.down, &g_system->keyboard.pressed, &g_system->keyboard.released})
    for (int key : {GLFW_KEY_LEFT_CONTROL, GLFW_KEY_RIGHT_CONTROL}) {
      const int slot = KeyTable::NamedSlot(key);
      if (slot >= 0 ? table->flags[slot] != 0 : table->flags[KeyTable::kNamedSlots + key] != 0) return true;
    }
  return false;
}

bool Pressed(int key) {
  const int slot = KeyTable::NamedSlot(key);
  const KeyTable& pressed = g_system->keyboard.pressed;
  return slot >= 0 ? pressed.flags[slot] != 0
                   : key >= 0 && key < KeyTable::kRawSlots && pressed.flags[KeyTable::kNamedSlots + key] != 0;
}

}  // namespace

ViewerScreen::ViewerScreen(const Options& options, Font* font) : options_(options), font_(font), painter_(font) {
  SetName("SkelViewScreen");
  if (options_.hasBackground) backdrop_ = Backdrop::Colour;
  if (g_system) SetSize(g_system->windowWidth, g_system->windowHeight);
  BuildWidgets();
}

ViewerScreen::~ViewerScreen() { ViewerScreen::Release(); }

void ViewerScreen::Release() {
  // Widgets first: their texts and canvases go while the context exists.
  Screen::Release();
  CloseEditor();
  animationList_ = skinList_ = mixList_ = slotList_ = nullptr;
  playButton_ = backButton_ = forwardButton_ = loopButton_ = bonesButton_ = boundsButton_ = nullptr;
  timeBar_ = speedBar_ = mixBar_ = nullptr;
  ReleaseContent();
  content_.Release();
  checker_.Release();
}

SimpleButton* ViewerScreen::AddButton(int32_t right, int32_t top, const std::string& label) {
  auto* button = new SimpleButton(right, top, kPlayButton.width, kPlayButton.height, kAnchorTopRight);
  button->handler = this;
  AddChild(button);
  SetLabel(button, label);
  return button;
}

Listbox* ViewerScreen::AddList(int32_t top, int32_t listHeight) {
  auto* list = new Listbox(0, top, kAnimationList.width, listHeight);
  list->x = kPanelWidth - kAnimationList.x - kAnimationList.width;
  list->anchor = kAnchorTopRight;
  list->lineX = 6;
  list->lineGap = 2;
  list->handler = this;
  AddChild(list);
  return list;
}

WidgetTrackBar* ViewerScreen::AddBar(int32_t right, int32_t top, int32_t barWidth) {
  auto* bar = new WidgetTrackBar(barWidth, kTimeBarThickness);
  bar->x = right;
  bar->y = top;
  bar->handler = this;
  AddChild(bar);
  return bar;
}

void ViewerScreen::SetLabel(SimpleButton* button, const std::string& label) {
  if (button) button->SetLabel(MakeText(font_, label, kWhite));
}

void ViewerScreen::BuildWidgets() {
  auto right = [](const Spot& s) { return kPanelWidth - s.x - s.width; };
  animationList_ = AddList(kAnimationList.y, kAnimationList.height);
  skinList_ = AddList(kSkinList.y, kSkinList.height);
  mixList_ = AddList(kMixList.y, kMixList.height);
  playButton_ = AddButton(right(kPlayButton), kPlayButton.y, "Pause");
  backButton_ = AddButton(right(kBackButton), kBackButton.y, "< Step");
  forwardButton_ = AddButton(right(kForwardButton), kForwardButton.y, "Step >");
  loopButton_ = AddButton(right(kLoopButton), kLoopButton.y, "Loop on");
  bonesButton_ = AddButton(right(kBonesButton), kBonesButton.y, "Bones off");
  boundsButton_ = AddButton(right(kBoundsButton), kBoundsButton.y, "Bounds off");
  speedBar_ = AddBar(right(kSpeedBar), kSpeedBar.y, kSpeedBar.width);
  speedBar_->value = (1.0 - kMinSpeed) / (kMaxSpeed - kMinSpeed);
  mixBar_ = AddBar(right(kMixBar), kMixBar.y, kMixBar.width);
  mixBar_->value = 0.2 / kMaxMixSeconds;
  timeBar_ = new WidgetTrackBar(1, kTimeBarThickness);
  timeBar_->anchor = kAnchorBottomLeft;
  timeBar_->x = kTimeBarInset;
  timeBar_->y = kTimeBarBottom;
  timeBar_->handler = this;
  AddChild(timeBar_);
  slotList_ = AddList(kSlotListTop, kSlotListWidth);
  slotList_->x = kPanelWidth + kSlotListInset;
  slotList_->visible = false;
  BuildEditWidgets();
  OnResize(width, height);
}

bool ViewerScreen::Open(std::string& error) {
  if (SkeletonFileMissing(options_.jsonPath)) return OpenNewSkeleton(error);
  if (!LoadContent(options_.atlasPath, options_.jsonPath, content_, error)) return false;
  StartContent(options_.animation, options_.skin, "", 0.2, 0);
  WatchFiles();
  OpenEditor();
  return true;
}

void ViewerScreen::WatchFiles() {
  std::vector<std::string> paths = {options_.atlasPath, options_.jsonPath};
  for (const std::string& page : PageImagePaths(options_.atlasPath, content_)) paths.push_back(page);
  watch_.Watch(paths);
}

void ViewerScreen::ReleaseContent() {
  delete playback_;
  playback_ = nullptr;
  delete sprite_;
  sprite_ = nullptr;
}

void ViewerScreen::StartContent(const std::string& animationName, const std::string& skin, const std::string& mixTo,
                                double mixSeconds, double time) {
  sprite_ = new TarnSkel::SkelAnimation(content_.skeletonData);
  playback_ = new Playback(*sprite_);
  skin_.clear();
  if (!skin.empty() && content_.skeletonData->findSkin(skel::String(skin.c_str()))) {
    skin_ = skin;
    playback_->SetSkin(skin_);
  }
  const auto& skins = content_.skeletonData->getSkins();
  if (skin_.empty() && !content_.skeletonData->getDefaultSkin() && skins.size() > 0) {
    // Without it nothing would show: the first skin does, and says so.
    skin_ = SkinName(skins[0]);
    playback_->SetSkin(skin_);
    ShowStatus("no skin named default:\nshowing " + skin_, kEventColor, 600);
    std::fprintf(stderr, "skelview: no skin named default: showing the first skin, %s\n", skin_.c_str());
  }
  const int first = animationName.empty() ? 0 : playback_->FindAnimation(animationName);
  playback_->Select(std::max(0, first));
  if (!mixTo.empty())
    playback_->SetMix(playback_->FindAnimation(mixTo), mixSeconds);
  else
    playback_->SetMix(-1, mixSeconds);
  playback_->Seek(time);
  FillLists();
}

void ViewerScreen::FillLists() {
  if (!playback_) return;
  animationList_->ClearItems();
  mixList_->ClearItems();
  skinList_->ClearItems();
  mixList_->AddItem(MakeText(font_, "(none)", kGrey), "");
  for (int i = 0; i < playback_->AnimationCount(); ++i) {
    animationList_->AddItem(MakeText(font_, playback_->AnimationName(i), kWhite), playback_->AnimationName(i));
    mixList_->AddItem(MakeText(font_, playback_->AnimationName(i), kWhite), playback_->AnimationName(i));
  }
  animationList_->selectedIndex = playback_->Selected();
  mixList_->selectedIndex = playback_->MixTarget() + 1;
  skinList_->selectedIndex = -1;
  // With no skin chosen the default skin is what shows, so it is the one marked.
  const skel::Skin* shown = skin_.empty() ? content_.skeletonData->getDefaultSkin() : nullptr;
  const auto& skins = content_.skeletonData->getSkins();
  for (size_t i = 0; i < skins.size(); ++i) {
    const std::string skinName = SkinName(skins[i]);
    skinList_->AddItem(MakeText(font_, skinName, kWhite), skinName.c_str());
    if (skins[i] == shown || (!skin_.empty() && skinName == skin_)) skinList_->selectedIndex = static_cast<int32_t>(i);
  }
  for (Listbox* list : {animationList_, mixList_, skinList_}) {
    list->topIndex = 0;
    list->selectedKey = nullptr;
  }
  FillSlotList();
}

void ViewerScreen::FillSlotList() {
  const int32_t top = slotList_->topIndex;
  slotList_->ClearItems();
  slotList_->selectedIndex = -1;
  slotList_->selectedKey = nullptr;
  hidden_.clear();
  if (!sprite_ || !sprite_->skeleton) return;
  const int count = static_cast<int>(sprite_->skeleton->getSlots().size());
  for (int i = 0; i < count; ++i) {
    const std::string slot = SlotName(*sprite_->skeleton, i);
    const bool hide = hiddenSlots_.count(slot) != 0;
    hidden_.push_back(hide);
    slotList_->AddItem(MakeText(font_, hide ? slot + "  (hidden)" : slot, hide ? kDimGrey : kWhite), slot.c_str());
  }
  slotList_->topIndex = std::clamp(top, 0, std::max(0, count - 1));
}

void ViewerScreen::ToggleSlot(int index) {
  if (!sprite_ || !sprite_->skeleton || index < 0 || static_cast<size_t>(index) >= hidden_.size()) return;
  const std::string slot = SlotName(*sprite_->skeleton, index);
  if (!hiddenSlots_.erase(slot)) hiddenSlots_.insert(slot);
  FillSlotList();
}

void ViewerScreen::Reload() {
  TarnSkel::SkelData fresh;
  std::string error;
  if (!LoadContent(options_.atlasPath, options_.jsonPath, fresh, error, true, true)) {
    error_ = error;
    ShowStatus("", kWhite, 0);
    std::fprintf(stderr, "skelview: reload failed: %s\n", error.c_str());
    return;
  }
  // Keep what the content maker was looking at, by name.
  const std::string animationName = playback_ ? playback_->AnimationName(playback_->Selected()) : "";
  const std::string mixTo =
      playback_ && playback_->MixTarget() >= 0 ? playback_->AnimationName(playback_->MixTarget()) : "";
  const double mixSeconds = playback_ ? playback_->MixSeconds() : 0.2;
  const double time = playback_ ? playback_->Time() : 0;
  const bool loop = playback_ ? playback_->Loop() : true;
  const std::string skin = skin_;
  ReleaseContent();
  content_.Release();
  std::swap(content_.textureLoader, fresh.textureLoader);
  std::swap(content_.atlas, fresh.atlas);
  std::swap(content_.skeletonData, fresh.skeletonData);
  picked_ = -1;
  pickedText_.clear();
  StartContent(animationName, skin, mixTo, mixSeconds, 0);
  playback_->SetLoop(loop);
  playback_->Seek(time);
  error_.clear();
  WatchFiles();
  // What was being looked at may be gone from the new files: say what shows
  // instead, in the panel and on the terminal.
  std::vector<std::string> gone;
  const std::string playing = playback_->AnimationName(playback_->Selected());
  if (!animationName.empty() && playing != animationName)
    gone.push_back("animation \"" + animationName + "\" is gone" + (playing.empty() ? "" : ": \"" + playing + "\""));
  if (!mixTo.empty() && playback_->MixTarget() < 0) gone.push_back("mix into \"" + mixTo + "\" is gone");
  if (!skin.empty() && skin_ != skin) gone.push_back("skin \"" + skin + "\" is gone: default");
  std::string status = "reloaded", line = "skelview: reloaded " + options_.jsonPath;
  for (const std::string& text : gone) {
    status += "\n" + text;
    line += "; " + text;
  }
  ShowStatus(status, gone.empty() ? kGoodColor : kEventColor, gone.empty() ? 60 : 300);
  // Beside skelcheck's lines about the same files.
  std::fprintf(stderr, "%s\n", line.c_str());
}

void ViewerScreen::ShowStatus(const std::string& text, uint32_t color, int32_t frames) {
  status_ = text;
  statusColor_ = color;
  statusFrames_ = frames;
}

void ViewerScreen::TogglePlay() {
  if (!playback_) return;
  playing_ = !playing_;
  // Play at the end of a run without loop starts it again.
  if (playing_ && !playback_->Loop() && playback_->Time() >= playback_->Duration()) playback_->Seek(0);
  RefreshLabels();
}

void ViewerScreen::Step(int frames) {
  if (!playback_) return;
  playing_ = false;
  const double duration = playback_->Duration();
  double t = SnapToFrame(playback_->Time()) + frames * kFrameSeconds;
  // Stepping past either end wraps round when looping.
  if (playback_->Loop() && duration > 0) {
    if (t < 0) t += duration;
    if (t >= duration + kFrameSeconds / 2) t -= duration;
  }
  playback_->Seek(t);
  RefreshLabels();
}

void ViewerScreen::RefreshLabels() {
  SetLabel(playButton_, playing_ ? "Pause" : "Play");
  SetLabel(loopButton_, playback_ && !playback_->Loop() ? "Loop off" : "Loop on");
  SetLabel(bonesButton_, showBones_ ? "Bones on" : "Bones off");
  SetLabel(boundsButton_, showBounds_ ? "Bounds on" : "Bounds off");
}

bool ViewerScreen::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind != kEventLeftClick || !playback_) return true;
  if (sender == boneList_) {
    if (boneList_->selectedIndex >= 0 && static_cast<size_t>(boneList_->selectedIndex) < boneNames_.size())
      SelectBone(boneNames_[boneList_->selectedIndex]);
  } else if (sender == slotList_) {
    ToggleSlot(slotList_->selectedIndex);
  } else if (sender == playButton_) {
    TogglePlay();
  } else if (sender == backButton_) {
    Step(-1);
  } else if (sender == forwardButton_) {
    Step(1);
  } else if (sender == loopButton_) {
    playback_->SetLoop(!playback_->Loop());
    RefreshLabels();
  } else if (sender == bonesButton_) {
    showBones_ = !showBones_;
    RefreshLabels();
  } else if (sender == boundsButton_) {
    showBounds_ = !showBounds_;
    RefreshLabels();
  } else if (sender == animationList_) {
    if (animationList_->selectedIndex >= 0) {
      playback_->Select(animationList_->selectedIndex);
      playing_ = true;
      RefreshLabels();
    } else {
      animationList_->selectedIndex = playback_->Selected();
    }
  } else if (sender == skinList_) {
    const int32_t index = skinList_->selectedIndex;
    const auto& skins = content_.skeletonData->getSkins();
    skin_ = index >= 0 && static_cast<size_t>(index) < skins.size() ? SkinName(skins[index]) : "";
    playback_->SetSkin(skin_);
  } else if (sender == mixList_) {
    const int32_t index = mixList_->selectedIndex;
    playback_->SetMix(index > 0 ? index - 1 : -1, playback_->MixSeconds());
    if (index < 0) mixList_->selectedIndex = 0;
  }
  return true;
}

void ViewerScreen::OnResize(int32_t newWidth, int32_t newHeight) {
  const Area view = ViewArea(newWidth, newHeight);
  if (timeBar_) timeBar_->width = std::max<int32_t>(kTimeBarThickness, view.width - 2 * kTimeBarInset);
  if (slotList_) {
    slotList_->SetSize(kSlotListWidth,
                       std::max<int32_t>(kTimeBarThickness, view.height - kSlotListTop - kSlotListInset));
  }
  if (boneList_)
    boneList_->SetSize(boneList_->width,
                       std::max<int32_t>(kTimeBarThickness, view.height - kSlotListTop - 4 * kSlotListInset - 40));
}

bool ViewerScreen::OverView(int32_t px, int32_t py) const {
  const Area view = ViewArea(g_system->windowWidth, g_system->windowHeight);
  if (px < view.x || py < view.y || px >= view.x + view.width || py >= view.y + view.height) return false;
  if (boneList_ && boneList_->visible && boneList_->Contains(px, py)) return false;
  return !slotList_->visible || !slotList_->Contains(px, py);
}

void ViewerScreen::HandleView() {
  const int32_t mouseX = g_system->mouseX, mouseY = g_system->mouseY;
  if (g_system->scrollY != 0 && OverView(mouseX, mouseY)) {
    ZoomAbout(camera_, std::pow(kWheelZoom, static_cast<float>(g_system->scrollY)), static_cast<float>(mouseX),
              static_cast<float>(mouseY));
  }
  const MouseButtonState& left = g_system->leftButton;
  if (left.pressed && OverView(left.pressX, left.pressY)) {
    viewPress_ = true;
    panning_ = false;
    lastX_ = left.pressX;
    lastY_ = left.pressY;
  }
  if (viewPress_ && left.down) {
    panning_ = panning_ || std::abs(mouseX - left.pressX) > kDragSlop || std::abs(mouseY - left.pressY) > kDragSlop;
    // A drag that edits a bone does not move the view.
    if (panning_ && !EditOwnsPointer()) {
      camera_.panX += static_cast<float>(mouseX - lastX_);
      camera_.panY += static_cast<float>(mouseY - lastY_);
    }
    lastX_ = mouseX;
    lastY_ = mouseY;
  }
  if (left.released) {
    // The last move may come in the poll of the release.
    if (viewPress_ && panning_) {
      camera_.panX += static_cast<float>(left.releaseX - lastX_);
      camera_.panY += static_cast<float>(left.releaseY - lastY_);
    }
    // A press and release within one poll was never seen held.
    const bool click = viewPress_ ? !panning_ : OverView(left.pressX, left.pressY);
    if (click && !clickTaken_ && OverView(left.releaseX, left.releaseY)) Pick(left.releaseX, left.releaseY);
    viewPress_ = panning_ = false;
  }
}

void ViewerScreen::Pick(int32_t px, int32_t py) {
  if (!sprite_ || !sprite_->skeleton) return;
  // The skeleton stands as last drawn, so this is what the pointer was on.
  picked_ = PickSlot(*sprite_->skeleton, static_cast<float>(px), static_cast<float>(py), hidden_);
  std::string line;
  if (picked_ < 0) {
    pickedText_.clear();
    line = "nothing";
  } else {
    const std::string slot = SlotName(*sprite_->skeleton, picked_);
    const std::string attachment = AttachmentName(*sprite_->skeleton, picked_);
    pickedText_ = "slot " + slot + "    attachment " + attachment;
    line = "slot \"" + slot + "\", attachment \"" + attachment + "\"";
  }
  std::printf("skelview: picked %s\n", line.c_str());
  std::fflush(stdout);
}

void ViewerScreen::CycleBackdrop() {
  switch (backdrop_) {
    case Backdrop::Checker: backdrop_ = Backdrop::Dark; break;
    case Backdrop::Dark: backdrop_ = Backdrop::Light; break;
    case Backdrop::Light: backdrop_ = options_.hasBackground ? Backdrop::Colour : Backdrop::Checker; break;
    case Backdrop::Colour: backdrop_ = Backdrop::Checker; break;
  }
  static const char* const kNames[] = {"checkerboard", "dark", "light", "colour"};
  ShowStatus(std::string("background: ") + kNames[static_cast<int>(backdrop_)], kWhite, 90);
}

bool ViewerScreen::Update() {
  if (Pressed(GLFW_KEY_SPACE)) TogglePlay();
  if (Pressed(GLFW_KEY_LEFT)) Step(-1);
  if (Pressed(GLFW_KEY_RIGHT)) Step(1);
  if (Pressed(GLFW_KEY_S) && !ControlHeld() && prompt_ == Prompt::None) screenshotRequested_ = true;
  if (Pressed(GLFW_KEY_F)) camera_ = Camera{};
  if (Pressed(GLFW_KEY_B)) CycleBackdrop();
  if (Pressed(GLFW_KEY_L)) slotList_->visible = !slotList_->visible;
  if (Pressed(GLFW_KEY_O)) onion_ = !onion_;
  // Before the clock moves on: the pick is made against the pose on screen.
  UpdateEditing();
  HandleView();

  // Time, not frames: a loaded machine draws fewer of them.
  const double now = SteadySeconds();
  if (now - lastPoll_ >= kPollSeconds) {
    lastPoll_ = now;
    if (watch_.Poll(now)) OnFilesChanged();
  }

  SettleDrags();
  if (playback_) {
    speed_ = kMinSpeed + speedBar_->value * (kMaxSpeed - kMinSpeed);
    const double mix = MixFromBar(mixBar_->value);
    if (std::fabs(mix - playback_->MixSeconds()) > 1e-6) playback_->SetMix(playback_->MixTarget(), mix);
    const double duration = playback_->Duration();
    if (timeBar_->dragging) {
      playback_->Seek(SnapToFrame(timeBar_->value * duration));
    } else if (playing_ && !playback_->Advance(speed_ * kFrameSeconds)) {
      playing_ = false;
      RefreshLabels();
    }
    if (!timeBar_->dragging) timeBar_->value = duration > 0 ? playback_->Time() / duration : 0;
    for (std::string& text : playback_->TakeEvents()) events_.push_back({text, kEventFrames});
  }
  for (Shown& shown : events_) --shown.framesLeft;
  events_.erase(std::remove_if(events_.begin(), events_.end(), [](const Shown& s) { return s.framesLeft <= 0; }),
                events_.end());
  if (statusFrames_ > 0 && --statusFrames_ == 0) status_.clear();
  const bool wasDragging = timeBar_ && timeBar_->dragging;
  const bool updated = Screen::Update();
  SeekOnTrackPress(wasDragging);
  SeekOnQuickClick(wasDragging);
  return updated && !quit_;
}

void ViewerScreen::SettleDrags() {
  // Let go in the same poll as its last move, a bar would stop where the
  // frame before saw the pointer: it stops where the button came up.
  const MouseButtonState& left = g_system->leftButton;
  if (left.down || !left.released) return;
  for (WidgetTrackBar* bar : {timeBar_, speedBar_, mixBar_}) {
    if (!bar || !bar->dragging || bar->vertical) continue;
    const Rect r = bar->GetRect();
    const int32_t travel = r.width - bar->thumbLength;
    if (travel <= 0) continue;
    const double at = static_cast<double>(left.releaseX) + bar->dragOffset - r.x - bar->thumbLength / 2;
    bar->value = std::clamp(at / travel, 0.0, 1.0);
  }
}

void ViewerScreen::SeekOnQuickClick(bool wasDragging) {
  // Pressed and released within one poll, the bar never saw the button down.
  const MouseButtonState& left = g_system->leftButton;
  if (wasDragging || !playback_ || !timeBar_ || !left.pressed || left.down ||
      !timeBar_->Contains(left.pressX, left.pressY))
    return;
  double value = 0;
  if (!TrackValueAt(left.pressX, value)) return;
  const double duration = playback_->Duration();
  playback_->Seek(SnapToFrame(value * duration));
  timeBar_->value = duration > 0 ? playback_->Time() / duration : 0;
}

bool ViewerScreen::TrackValueAt(int32_t cursor, double& value) const {
  const Rect bar = timeBar_->GetRect();
  const int32_t thumb = timeBar_->thumbLength, travel = bar.width - thumb;
  if (travel <= 0) return false;
  const int32_t thumbLeft = bar.x + static_cast<int32_t>(travel * timeBar_->value);
  if (cursor >= thumbLeft && cursor < thumbLeft + thumb) return false;  // on the thumb: a drag from where it is
  // The thumb's centre goes under the cursor.
  value = std::clamp(static_cast<double>(cursor - bar.x - thumb / 2) / travel, 0.0, 1.0);
  return true;
}

void ViewerScreen::SeekOnTrackPress(bool wasDragging) {
  if (wasDragging || !timeBar_ || !timeBar_->dragging) return;
  // The drag goes on from where the thumb jumped to.
  if (!TrackValueAt(g_system->mouseX, timeBar_->value)) return;
  timeBar_->dragOffset = 0;
}

bool ViewerScreen::Draw() {
  const int32_t windowWidth = g_system->windowWidth, windowHeight = g_system->windowHeight;
  const Area view = ViewArea(windowWidth, windowHeight);

  DrawBackdrop(view);
  if (playback_ && sprite_) {
    float bx, by, bw, bh;
    playback_->Bounds(bx, by, bw, bh);
    // The view's origin is the window's.
    const Placement placement = ApplyCamera(camera_, FitBounds(bx, by, bw, bh, view.width, view.height));
    if (onion_) DrawOnion(placement);
    playback_->Place(placement);
    ShowSetupPose();
    // Straight onto the opaque background, as the game draws a character onto
    // the screen: Multiply and Screen slots then act on what is behind them
    // as they do there, and soft edges blend once. (A transparent target in
    // between would square their alpha and darken their colour.) What spills
    // out of the view is covered by the panel and the time bar's strip.
    DrawSlots(*sprite_->skeleton, hidden_);
    if (picked_ >= 0 && !(static_cast<size_t>(picked_) < hidden_.size() && hidden_[picked_]))
      OutlineSlot(*sprite_->skeleton, picked_, kPickColor);
    if (showBounds_) DrawBounds(*sprite_->skeleton, view);
    if (showBones_) DrawBones(*sprite_->skeleton, view);
  }

  // The panel and the time bar's strip.
  const int32_t panelX = windowWidth - kPanelWidth;
  FillRect({panelX, 0, kPanelWidth, windowHeight}, kPanelColor);
  FillRect({0, view.height, view.width, windowHeight - view.height}, kPanelColor);
  const int32_t line = painter_.LineHeight();
  painter_.Draw("Animations", panelX + 10, kAnimationList.y - line - 6, kGrey);
  painter_.Draw("Skins", panelX + 10, kSkinList.y - line - 6, kGrey);
  painter_.Draw(Format("Speed %.2fx", speed_), panelX + 10, kSpeedBar.y - line - 6, kGrey);
  painter_.Draw("Then mix into (preview)", panelX + 10, kMixList.y - line - 6, kGrey);
  if (playback_) {
    painter_.Draw(Format("Mix %.2f s", playback_->MixSeconds()), panelX + 10, kMixBar.y - line - 6, kGrey);
    const double time = playback_->Time(), duration = playback_->Duration();
    painter_.Draw(Format("%.3f s / %.3f s    frame %.0f / %.0f", time, duration,
                         std::floor(time / kFrameSeconds + 1e-6), std::floor(duration / kFrameSeconds + 1e-6)),
                  kTimeBarInset, windowHeight - kTimeBarBottom + 8, kWhite);
  }
  int32_t helpY = kMixBar.y + kMixBar.height + 16;
  for (const char* help : {"Space  play / pause    S  screenshot", "Left / Right  one frame    F  fit",
                           "Wheel zoom, drag pan, click names", "B  background   L  slots   O  onion"}) {
    painter_.Draw(help, panelX + 10, helpY, kGrey);
    helpY += line + 6;
  }
  int32_t statusY = helpY + 10;
  for (size_t from = 0; from < status_.size();) {
    const size_t end = std::min(status_.find('\n', from), status_.size());
    painter_.Draw(status_.substr(from, end - from), panelX + 10, statusY, statusColor_);
    statusY += line + 4;
    from = end + 1;
  }

  int32_t textY = 8;
  if (!error_.empty()) {
    // Wrapped inside its band: a long reason would run under the panel.
    const std::vector<std::string> lines = WrapText(
        "reload failed: " + error_, view.width - 20, [&](const std::string& text) { return painter_.Width(text); }, 8);
    const int32_t band = static_cast<int32_t>(lines.size()) * (line + 4) + 8;
    FillRect({0, 0, view.width, band}, kErrorBand);
    for (size_t i = 0; i < lines.size(); ++i)
      painter_.Draw(lines[i], 10, 6 + static_cast<int32_t>(i) * (line + 4), kErrorColor);
    textY += band;
  }
  for (const Shown& shown : events_) {
    // On a dark band: the checkerboard is as light as the text.
    const std::string text = "event " + shown.text;
    FillRect({4, textY - 2, painter_.Width(text) + 12, line + 6}, kTextBand);
    painter_.Draw(text, 10, textY, kEventColor);
    textY += line + 4;
  }
  if (!pickedText_.empty()) {
    FillRect({4, textY - 2, painter_.Width(pickedText_) + 12, line + 6}, kTextBand);
    painter_.Draw(pickedText_, 10, textY, kPickColor);
  }
  if (slotList_->visible) {
    const int32_t left = view.width - kSlotListInset - kSlotListWidth;
    FillRect({left, kSlotListTop - line - 10, kSlotListWidth, line + 8}, kTextBand);
    painter_.Draw("Slots (click: hide / show)", left + 6, kSlotListTop - line - 6, kWhite);
  } else if (!hiddenSlots_.empty()) {
    const size_t count = hiddenSlots_.size();
    const std::string text = std::to_string(count) + (count == 1 ? " slot" : " slots") + " hidden (L lists them)";
    FillRect({4, view.height - line - 10, painter_.Width(text) + 12, line + 6}, kTextBand);
    painter_.Draw(text, 10, view.height - line - 8, kGrey);
  }

  const bool drawn = Screen::Draw();
  DrawEditing(view);
  if (screenshotRequested_) {
    screenshotRequested_ = false;
    SaveScreenshot();
  }
  return drawn;
}

void ViewerScreen::DrawBackdrop(const Area& view) {
  if (backdrop_ == Backdrop::Dark || backdrop_ == Backdrop::Light) {
    FillRect({view.x, view.y, view.width, view.height}, backdrop_ == Backdrop::Dark ? kDarkBackdrop : kLightBackdrop);
    return;
  }
  if (checker_.width != view.width || checker_.height != view.height || !checker_.targetReady) {
    checker_.SetRenderTarget(view.width, view.height);
    checker_.BeginRender();
    DrawCheckerboard({0, 0, view.width, view.height});
    EndRender();
  }
  checker_.Draw(view.x, view.y);
  // A colour with alpha lets the checkerboard show through.
  if (backdrop_ == Backdrop::Colour) FillRect({view.x, view.y, view.width, view.height}, options_.background);
}

void ViewerScreen::DrawOnion(const Placement& placement) {
  const double now = playback_->Time(), duration = playback_->Duration();
  // The farthest first, so the nearer ghosts lie over them; each fainter
  // with its distance.
  for (int step = options_.onionCount; step >= 1; --step) {
    for (int side : {-1, 1}) {
      double t = now + side * step * options_.onionSpacing;
      if (playback_->Loop() && duration > 0) {
        t = std::fmod(t, duration);
        if (t < 0) t += duration;
      } else if (t < 0 || t > duration) {
        continue;
      }
      const uint32_t tint = side < 0 ? kPreviousTint : kNextTint;
      const uint32_t alpha = (tint >> 24) * (options_.onionCount + 1 - step) / options_.onionCount;
      playback_->Seek(t);
      playback_->Place(placement);
      DrawGhost(*sprite_->skeleton, hidden_, (tint & 0xFFFFFF) | alpha << 24);
    }
  }
  // The same state the clock left, so playing on fires what it would have.
  playback_->Seek(now);
}

void ViewerScreen::SaveScreenshot() {
  const int32_t w = g_system->graphicManager.viewportWidth, h = g_system->graphicManager.viewportHeight;
  std::vector<uint8_t> rgba;
  if (!ReadPixels({0, 0, w, h}, rgba)) {
    ShowStatus("cannot read the window back", kErrorColor, 180);
    return;
  }
  // The window's alpha is whatever blending left; a screenshot is opaque.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  char fileName[64] = {};
  for (int n = 1; n < 10000; ++n) {
    std::snprintf(fileName, sizeof fileName, "skelview-%03d.png", n);
    struct stat info;
    if (stat(fileName, &info) != 0) break;
  }
  std::string why;
  if (SavePng(fileName, rgba, w, h, &why)) {
    ShowStatus(std::string("saved ") + fileName, kGoodColor, 180);
    std::printf("skelview: saved %s\n", fileName);
    std::fflush(stdout);
  } else {
    ShowStatus(std::string("cannot save ") + fileName + ": " + why, kErrorColor, 180);
  }
}

}  // namespace skelview
