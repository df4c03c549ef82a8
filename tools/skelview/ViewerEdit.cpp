// The viewer as an editor: modes, bone selection, the drags and keys that make
// editing commands, undo and redo, saving, and the questions asked before
// unsaved edits would be lost. Every change goes through the editor's
// commands; the shown skeleton is then loaded again from its document.
#include <GLFW/glfw3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "Playback.h"
#include "ViewerScreen.h"
#include "framework/core/Key.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/Primitives.h"
#include "framework/skel/SkelAnimation.h"
#include "framework/text/TextString.h"
#include "framework/widgets/Listbox.h"
#include "framework/widgets/WidgetTrackBar.h"
#include "skel/Atlas.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skeledit/Editor.h"
#include "skeledit/JsonWriter.h"

using namespace TarnFramework;

namespace skelview {

namespace {

constexpr uint32_t kBand = 0xC0202020;
constexpr uint32_t kGoodColor = 0xFF60E060;
constexpr uint32_t kUnsavedColor = 0xFF00B0FF;  // amber
constexpr uint32_t kSelectColor = 0xFFFF40FF;   // magenta
constexpr uint32_t kKeyColor = 0xFF40E0FF;      // yellow
constexpr uint32_t kPromptColor = 0xF0302018;
constexpr uint32_t kButtonColor = 0xFF785A5A;
constexpr int32_t kJointReach = 9;  // pixels from a joint that still pick it
constexpr int32_t kMarkerSize = 9;  // a key marker's side
constexpr int32_t kDragSlop = 3;
constexpr int32_t kBoneListWidth = 180;

ViewerScreen* g_closeGuard = nullptr;

bool KeyIn(const KeyTable& table, int key) {
  const int slot = KeyTable::NamedSlot(key);
  return slot >= 0 ? table.flags[slot] != 0
                   : key >= 0 && key < KeyTable::kRawSlots && table.flags[KeyTable::kNamedSlots + key] != 0;
}
bool KeyPressed(int key) { return KeyIn(g_system->keyboard.pressed, key); }
// Held, or pressed or let go this frame: a quick chord may go down and up
// between two frames, or its modifier be let go in the frame its key went down.
bool KeyHeld(int key) {
  const Key& keys = g_system->keyboard;
  return KeyIn(keys.down, key) || KeyIn(keys.pressed, key) || KeyIn(keys.released, key);
}
bool CtrlHeld() { return KeyHeld(GLFW_KEY_LEFT_CONTROL) || KeyHeld(GLFW_KEY_RIGHT_CONTROL); }
bool ShiftHeld() { return KeyHeld(GLFW_KEY_LEFT_SHIFT) || KeyHeld(GLFW_KEY_RIGHT_SHIFT); }

// A value for a command, rounded to step so dragged values stay short.
std::string Value(double value, double step) {
  return skeledit::JsonNumber(static_cast<float>(std::round(value / step) * step));
}

double Wrap(double degrees) {
  while (degrees > 180) degrees -= 360;
  while (degrees <= -180) degrees += 360;
  return degrees;
}

// The words as a script line would hold them.
std::string CommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    const bool quote = word.empty() || word.find_first_of(" \t#\"") != std::string::npos;
    std::string shown;
    for (char c : word) shown += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    line += (line.empty() ? "" : " ") + (quote ? "\"" + shown + "\"" : shown);
  }
  return line;
}

void Tell(const std::string& line) {
  std::printf("skelview: %s\n", line.c_str());
  std::fflush(stdout);
}

Rect PromptBox(const Area& view) { return {view.width / 2 - 280, view.height / 2 - 70, 560, 140}; }
Rect PromptButton(const Area& view, int index) {
  const Rect box = PromptBox(view);
  return {box.x + 30 + index * 170, box.y + box.height - 50, 150, 34};
}
bool Inside(const Rect& r, int32_t x, int32_t y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

const char* const kTimelines[] = {"rotate", "translate", "scale"};

}  // namespace

bool SkeletonFileMissing(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool ViewerScreen::OpenNewSkeleton(std::string& error) {
  content_.Release();
  content_.textureLoader = new TarnFrameworkSkelTextureLoader();
  content_.atlas = new skel::Atlas(skel::String(options_.atlasPath.c_str()), content_.textureLoader);
  OpenEditor();
  if (!editor_) {
    error = editorError_;
    return false;
  }
  content_.skeletonData = editor_->ReadSkeleton(*content_.atlas, error);
  if (!content_.skeletonData) return false;
  StartContent("", "", "", 0.2, 0);
  WatchFiles();
  FillBoneList();
  // Nothing to play yet: the skeleton is built in its setup pose.
  animateMode_ = false;
  Tell("new skeleton " + options_.jsonPath + ": one bone, root");
  return true;
}

void ViewerScreen::OpenEditor() {
  delete editor_;
  editor_ = new skeledit::Editor();
  if (!editor_->Open(options_.atlasPath, options_.jsonPath, editorError_)) {
    std::fprintf(stderr, "skelview: editing is off: %s\n", editorError_.c_str());
    delete editor_;
    editor_ = nullptr;
  } else {
    editorError_.clear();
  }
  // The window's close button asks first while edits are unsaved.
  g_closeGuard = this;
  if (g_system && g_system->graphicManager.window)
    glfwSetWindowCloseCallback(g_system->graphicManager.window, [](GLFWwindow* window) {
      ViewerScreen* screen = g_closeGuard;
      if (!screen || !screen->editor_ || !screen->editor_->Modified() || screen->quit_) return;
      glfwSetWindowShouldClose(window, GLFW_FALSE);
      screen->prompt_ = Prompt::Close;
      Tell("unsaved edits: asking before closing");
    });
  FillBoneList();
  RefreshTitle();
}

void ViewerScreen::CloseEditor() {
  if (g_closeGuard == this) {
    g_closeGuard = nullptr;
    if (g_system && g_system->graphicManager.window)
      glfwSetWindowCloseCallback(g_system->graphicManager.window, nullptr);
  }
  delete editor_;
  editor_ = nullptr;
  boneList_ = nullptr;  // a child: the screen deletes it
}

void ViewerScreen::BuildEditWidgets() {
  boneList_ = new Listbox(kSlotListInset, kSlotListTop, kBoneListWidth, 200);
  boneList_->lineX = 6;
  boneList_->lineGap = 2;
  boneList_->handler = this;
  boneList_->visible = false;
  AddChild(boneList_);
}

void ViewerScreen::FillBoneList() {
  if (!boneList_ || !content_.skeletonData) return;
  std::vector<std::string> names;
  for (skel::BoneData* bone : content_.skeletonData->getBones())
    names.push_back(bone && bone->getName().buffer() ? bone->getName().buffer() : "");
  if (names != boneNames_) {
    boneNames_ = names;
    const int32_t top = boneList_->topIndex;
    boneList_->ClearItems();
    for (const std::string& bone : names) boneList_->AddItem(MakeText(font_, bone, kWhite), bone.c_str());
    boneList_->topIndex = std::clamp(top, 0, std::max(0, static_cast<int32_t>(names.size()) - 1));
  }
  const auto at = std::find(boneNames_.begin(), boneNames_.end(), selectedBone_);
  if (at == boneNames_.end()) selectedBone_.clear();
  boneList_->selectedIndex = at == boneNames_.end() ? -1 : static_cast<int32_t>(at - boneNames_.begin());
}

void ViewerScreen::RefreshTitle() {
  const bool modified = editor_ && editor_->Modified();
  if (!g_system || !g_system->graphicManager.window || modified == titleModified_) return;
  titleModified_ = modified;
  const size_t cut = options_.jsonPath.find_last_of("/\\");
  const std::string file = cut == std::string::npos ? options_.jsonPath : options_.jsonPath.substr(cut + 1);
  glfwSetWindowTitle(g_system->graphicManager.window, ("skelview - " + file + (modified ? " *" : "")).c_str());
}

std::string ViewerScreen::AnimationForKeys() const {
  if (playback_ && playback_->AnimationCount() > 0) return playback_->AnimationName(playback_->Selected());
  return "animation";  // the first key of a skeleton with none makes it
}

bool ViewerScreen::RunEdit(const std::vector<std::string>& words, bool gesture) {
  std::string error;
  if (!editor_->Execute(words, error)) {
    ShowStatus("cannot " + words[0] + ": " + error, kErrorColor, 300);
    std::fprintf(stderr, "skelview: %s: %s\n", CommandLine(words).c_str(), error.c_str());
    return false;
  }
  if (gesture)
    dragCommands_.push_back(CommandLine(words));
  else
    Tell("edit: " + CommandLine(words));
  return true;
}

void ViewerScreen::ShowEditorSkeleton() {
  std::string error;
  skel::SkeletonData* data = editor_->ReadSkeleton(*content_.atlas, error);
  if (!data) {
    ShowStatus("cannot show the edit: " + error, kErrorColor, 300);
    return;
  }
  const std::string animationName = playback_ ? playback_->AnimationName(playback_->Selected()) : "";
  const std::string mixTo =
      playback_ && playback_->MixTarget() >= 0 ? playback_->AnimationName(playback_->MixTarget()) : "";
  const double mixSeconds = playback_ ? playback_->MixSeconds() : 0.2;
  const double time = playback_ ? playback_->Time() : 0;
  const bool loop = playback_ ? playback_->Loop() : true;
  ReleaseContent();
  delete content_.skeletonData;
  content_.skeletonData = data;
  StartContent(animationName, skin_, mixTo, mixSeconds, 0);
  // A key can make the first animation: show it.
  if (animateMode_ && animationName.empty() && playback_->AnimationCount() > 0) playback_->Select(0);
  playback_->SetLoop(loop);
  playback_->Seek(time);
  FillBoneList();
  RefreshTitle();
}

void ViewerScreen::ShowSetupPose() {
  if (!editor_ || animateMode_ || !sprite_ || !sprite_->skeleton) return;
  sprite_->skeleton->setBonesToSetupPose();
  sprite_->skeleton->setSlotsToSetupPose();
  sprite_->skeleton->updateWorldTransform();
}

void ViewerScreen::SelectBone(const std::string& bone) {
  if (bone == selectedBone_) return;
  selectedBone_ = bone;
  FillBoneList();
  Tell(bone.empty() ? "no bone selected" : "selected bone " + bone);
}

int ViewerScreen::JointAt(int32_t px, int32_t py) const {
  if (!sprite_ || !sprite_->skeleton) return -1;
  int best = -1;
  float bestDistance = kJointReach + 0.5f;
  const auto& bones = sprite_->skeleton->getBones();
  for (size_t i = 0; i < bones.size(); ++i) {
    const float d = std::hypot(bones[i]->getWorldX() - px, bones[i]->getWorldY() - py);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

void ViewerScreen::UndoRedo(bool undo) {
  if (!(undo ? editor_->Undo() : editor_->Redo())) {
    ShowStatus(undo ? "nothing to undo" : "nothing to redo", kGrey, 90);
    return;
  }
  ShowEditorSkeleton();
  Tell(undo ? "undo" : "redo");
}

bool ViewerScreen::SaveEdits() {
  std::string error;
  if (!editor_->Save("", error)) {
    ShowStatus("cannot save: " + error, kErrorColor, 400);
    std::fprintf(stderr, "skelview: cannot save: %s\n", error.c_str());
    return false;
  }
  // Our own write is no change to reload.
  WatchFiles();
  RefreshTitle();
  ShowStatus("saved " + options_.jsonPath, kGoodColor, 120);
  Tell("saved " + options_.jsonPath);
  return true;
}

void ViewerScreen::OnFilesChanged() {
  if (editor_ && editor_->Modified() && editor_->FileUnchanged()) {
    // Only the atlas or its pages: take them, and keep showing the edits.
    Reload();
    if (error_.empty()) ShowEditorSkeleton();
    return;
  }
  if (editor_ && editor_->Modified()) {
    prompt_ = Prompt::DiskChanged;
    Tell("the file changed on disk while edits are unsaved: asking");
    return;
  }
  Reload();
  if (error_.empty()) OpenEditor();
}

void ViewerScreen::AnswerPrompt(int choice) {
  const Prompt asked = prompt_;
  prompt_ = Prompt::None;
  if (asked == Prompt::Close) {
    if (choice == 0) quit_ = SaveEdits();
    if (choice == 1) quit_ = true;
    Tell(choice == 0 ? "close: save" : choice == 1 ? "close: discard" : "close: cancelled");
  } else if (asked == Prompt::DiskChanged) {
    if (choice == 0) {
      Reload();
      if (error_.empty()) OpenEditor();
    }
    Tell(choice == 0 ? "reloaded from disk; edits dropped" : "kept the edits; saving replaces the file on disk");
  }
}

bool ViewerScreen::CanKey() {
  if (!animateMode_ || !playback_ || playback_->MixTarget() < 0) return true;
  ShowStatus("keys go into one animation: set the mix preview to (none) first", kErrorColor, 240);
  return false;
}

void ViewerScreen::KeySelectedBone() {
  if (!CanKey()) return;
  skel::Bone* bone = sprite_ ? sprite_->skeleton->findBone(skel::String(selectedBone_.c_str())) : nullptr;
  if (!bone) {
    ShowStatus("select a bone to key (click its joint with bones shown, or in the list)", kGrey, 180);
    return;
  }
  const skel::BoneData& data = bone->getData();
  const std::string anim = AnimationForKeys(), time = Value(playback_->Time(), 1e-6), &boneName = selectedBone_;
  if (data.getScaleX() == 0 || data.getScaleY() == 0) {
    ShowStatus("a bone with a setup scale of 0 cannot have scale keys", kErrorColor, 240);
    return;
  }
  editor_->BeginGesture();
  dragCommands_.clear();
  RunEdit({"key", anim, "bone", boneName, "rotate", time, Value(bone->getRotation() - data.getRotation(), 0.01)},
          true) &&
      RunEdit({"key", anim, "bone", boneName, "translate", time, Value(bone->getX() - data.getX(), 0.01),
               Value(bone->getY() - data.getY(), 0.01)},
              true) &&
      RunEdit({"key", anim, "bone", boneName, "scale", time, Value(bone->getScaleX() / data.getScaleX(), 0.001),
               Value(bone->getScaleY() / data.getScaleY(), 0.001)},
              true);
  editor_->EndGesture();
  for (const std::string& line : dragCommands_) Tell("edit: " + line);
  dragCommands_.clear();
  ShowEditorSkeleton();
}

void ViewerScreen::DragBone() {
  skel::Bone* bone = sprite_ ? sprite_->skeleton->findBone(skel::String(selectedBone_.c_str())) : nullptr;
  if (!bone) return;
  const float ox = bone->getWorldX(), oy = bone->getWorldY();
  const float mx = static_cast<float>(g_system->mouseX), my = static_cast<float>(g_system->mouseY);
  // The parent's frame on screen: local offsets and angles are in it.
  float pa = sprite_->skeleton->getScaleX(), pb = 0, pc = 0, pd = sprite_->skeleton->getScaleY();
  if (skel::Bone* up = bone->getParent()) {
    pa = up->getA();
    pb = up->getB();
    pc = up->getC();
    pd = up->getD();
  }
  const double det = static_cast<double>(pa) * pd - static_cast<double>(pb) * pc;
  if (std::fabs(det) < 1e-9) return;
  const skel::BoneData& data = bone->getData();
  const std::string anim = AnimationForKeys(), time = Value(playback_->Time(), 1e-6), &boneName = selectedBone_;
  std::vector<std::vector<std::string>> commands;
  if (boneDrag_ == BoneDrag::Rotate) {
    const double angle = std::atan2(my - oy, mx - ox) * 180 / M_PI;
    dragAngle_ += Wrap(angle - dragLastAngle_);
    dragLastAngle_ = angle;
    const double rotation = dragStart_[0] + (det < 0 ? -dragAngle_ : dragAngle_);
    dragValues_ = "rotation " + Value(rotation, 0.01);
    if (animateMode_)
      commands.push_back({"key", anim, "bone", boneName, "rotate", time, Value(rotation - data.getRotation(), 0.01)});
    else
      commands.push_back({"set", "bone", boneName, "rotation", Value(rotation, 0.01)});
  } else if (boneDrag_ == BoneDrag::Move) {
    const double dx = mx - pressX_, dy = my - pressY_;
    const double nx = dragStart_[1] + (pd * dx - pb * dy) / det, ny = dragStart_[2] + (-pc * dx + pa * dy) / det;
    dragValues_ = "x " + Value(nx, 0.01) + "   y " + Value(ny, 0.01);
    if (animateMode_) {
      commands.push_back({"key", anim, "bone", boneName, "translate", time, Value(nx - data.getX(), 0.01),
                          Value(ny - data.getY(), 0.01)});
    } else {
      commands.push_back({"set", "bone", boneName, "x", Value(nx, 0.01)});
      commands.push_back({"set", "bone", boneName, "y", Value(ny, 0.01)});
    }
  } else {
    const double from = std::hypot(pressX_ - ox, pressY_ - oy), to = std::hypot(mx - ox, my - oy);
    const double factor = from > 2 ? to / from : 1;
    const double sx = dragStart_[3] * factor, sy = dragStart_[4] * factor;
    dragValues_ = "scaleX " + Value(sx, 0.001) + "   scaleY " + Value(sy, 0.001);
    if (animateMode_) {
      if (data.getScaleX() == 0 || data.getScaleY() == 0) return;
      commands.push_back({"key", anim, "bone", boneName, "scale", time, Value(sx / data.getScaleX(), 0.001),
                          Value(sy / data.getScaleY(), 0.001)});
    } else {
      commands.push_back({"set", "bone", boneName, "scaleX", Value(sx, 0.001)});
      commands.push_back({"set", "bone", boneName, "scaleY", Value(sy, 0.001)});
    }
  }
  const std::string before = editor_->Text();
  dragCommands_.clear();
  for (const auto& words : commands)
    if (!RunEdit(words, true)) break;
  if (editor_->Text() != before) ShowEditorSkeleton();
}

std::vector<std::pair<std::string, float>> ViewerScreen::SelectedBoneKeys() const {
  std::vector<std::pair<std::string, float>> keys;
  if (!editor_ || selectedBone_.empty() || !playback_ || playback_->AnimationCount() == 0) return keys;
  auto& root = const_cast<skeledit::DocNode&>(editor_->Document().Root());
  skeledit::DocNode* animations = root.find("animations");
  skeledit::DocNode* keyed = animations ? animations->member_named(AnimationForKeys()) : nullptr;
  skeledit::DocNode* bones = keyed ? keyed->find("bones") : nullptr;
  skeledit::DocNode* bone = bones ? bones->member_named(selectedBone_) : nullptr;
  if (!bone) return keys;
  for (const char* timeline : kTimelines)
    if (skeledit::DocNode* frames = bone->member_named(timeline))
      for (const skeledit::DocNode& frame : frames->children) {
        const skeledit::DocNode* time = frame.find("time");
        keys.emplace_back(timeline, time && time->type == skeledit::DocNode::Number ? time->number : 0.f);
      }
  return keys;
}

int32_t ViewerScreen::KeyMarkerX(double time) const {
  const Rect bar = timeBar_->GetRect();
  const double duration = playback_->Duration();
  const int32_t travel = bar.width - timeBar_->thumbLength;
  return bar.x + timeBar_->thumbLength / 2 +
         static_cast<int32_t>(std::lround(duration > 0 ? travel * time / duration : 0));
}

bool ViewerScreen::KeyMarkerAt(int32_t px, int32_t py, float& time) const {
  const Rect bar = timeBar_->GetRect();
  if (py < bar.y - kMarkerSize - 3 || py >= bar.y) return false;
  int32_t best = kMarkerSize / 2 + 2;
  bool found = false;
  for (const auto& key : SelectedBoneKeys()) {
    const int32_t d = std::abs(KeyMarkerX(key.second) - px);
    if (d <= best) {
      best = d;
      time = key.second;
      found = true;
    }
  }
  return found;
}

void ViewerScreen::HandleKeyMarkers() {
  if (!playback_ || selectedBone_.empty()) return;
  const MouseButtonState& left = g_system->leftButton;
  float time = 0;
  if (left.pressed && KeyMarkerAt(left.pressX, left.pressY, time)) {
    keyDrag_ = true;
    keyDragFrom_ = keyDragTo_ = time;
    playing_ = false;
    RefreshLabels();
  }
  const Rect bar = timeBar_->GetRect();
  const int32_t travel = std::max(1, bar.width - timeBar_->thumbLength);
  if (keyDrag_) {
    const double at =
        std::clamp(static_cast<double>(g_system->mouseX - bar.x - timeBar_->thumbLength / 2) / travel, 0.0, 1.0) *
        playback_->Duration();
    keyDragTo_ = static_cast<float>(std::round(at / kFrameSeconds) * kFrameSeconds);
  }
  if (keyDrag_ && !left.down) {
    keyDrag_ = false;
    if (keyDragTo_ == keyDragFrom_) return;
    const std::string from = skeledit::JsonNumber(keyDragFrom_), to = skeledit::JsonNumber(keyDragTo_);
    editor_->BeginGesture();
    dragCommands_.clear();
    for (const auto& key : SelectedBoneKeys())
      if (key.second == keyDragFrom_ &&
          !RunEdit({"move", "key", AnimationForKeys(), "bone", selectedBone_, key.first, from, to}, true))
        break;
    editor_->EndGesture();
    for (const std::string& line : dragCommands_) Tell("edit: " + line);
    dragCommands_.clear();
    ShowEditorSkeleton();
  }
  if (KeyPressed(GLFW_KEY_DELETE) && KeyMarkerAt(g_system->mouseX, g_system->mouseY, time)) {
    editor_->BeginGesture();
    dragCommands_.clear();
    for (const auto& key : SelectedBoneKeys())
      if (key.second == time &&
          !RunEdit({"unkey", AnimationForKeys(), "bone", selectedBone_, key.first, skeledit::JsonNumber(time)}, true))
        break;
    editor_->EndGesture();
    for (const std::string& line : dragCommands_) Tell("edit: " + line);
    dragCommands_.clear();
    ShowEditorSkeleton();
  }
}

void ViewerScreen::UpdateEditing() {
  if (boneList_) boneList_->visible = editor_ && showBones_ && prompt_ == Prompt::None;
  const MouseButtonState& left = g_system->leftButton;
  const Area view = ViewArea(g_system->windowWidth, g_system->windowHeight);
  clickTaken_ = prompt_ != Prompt::None && left.released;
  if (prompt_ != Prompt::None) {
    const int buttons = prompt_ == Prompt::Close ? 3 : 2;
    if (left.released)
      for (int i = 0; i < buttons; ++i)
        if (Inside(PromptButton(view, i), left.releaseX, left.releaseY)) return AnswerPrompt(i);
    if (prompt_ == Prompt::Close && KeyPressed(GLFW_KEY_S)) return AnswerPrompt(0);
    if (prompt_ == Prompt::Close && KeyPressed(GLFW_KEY_D)) return AnswerPrompt(1);
    if (prompt_ == Prompt::DiskChanged && KeyPressed(GLFW_KEY_R)) return AnswerPrompt(0);
    if (KeyPressed(GLFW_KEY_ESCAPE)) return AnswerPrompt(buttons - 1);
    return;
  }
  if (!editor_ || !playback_) return;
  const bool ctrl = CtrlHeld(), shift = ShiftHeld();
  if (KeyPressed(GLFW_KEY_TAB)) {
    animateMode_ = !animateMode_;
    Tell(animateMode_ ? "animate mode" : "setup mode");
  }
  if (ctrl && KeyPressed(GLFW_KEY_Z)) UndoRedo(!shift);
  if (ctrl && KeyPressed(GLFW_KEY_Y)) UndoRedo(false);
  if (ctrl && KeyPressed(GLFW_KEY_S)) SaveEdits();
  if (!ctrl && KeyPressed(GLFW_KEY_K)) {
    if (animateMode_)
      KeySelectedBone();
    else
      ShowStatus("K keys in animate mode (Tab)", kGrey, 120);
  }
  if (KeyPressed(GLFW_KEY_ESCAPE)) SelectBone("");
  HandleKeyMarkers();

  // A press in the view: on a joint (bones shown) it selects that bone; with
  // a bone selected, a drag from anywhere edits it.
  const bool onList = boneList_->visible && boneList_->Contains(left.pressX, left.pressY);
  if (left.pressed && !keyDrag_ && !onList && OverView(left.pressX, left.pressY)) {
    const int joint = showBones_ ? JointAt(left.pressX, left.pressY) : -1;
    if (joint >= 0) SelectBone(boneNames_[joint]);
    if (!selectedBone_.empty()) {
      boneDrag_ = BoneDrag::Armed;
      pressX_ = left.pressX;
      pressY_ = left.pressY;
      dragMove_ = shift;
      dragScale_ = ctrl;
    }
  }
  if (boneDrag_ == BoneDrag::Armed && left.down && CanKey() &&
      (std::abs(g_system->mouseX - pressX_) > kDragSlop || std::abs(g_system->mouseY - pressY_) > kDragSlop)) {
    skel::Bone* bone = sprite_->skeleton->findBone(skel::String(selectedBone_.c_str()));
    if (bone) {
      const skel::BoneData& data = bone->getData();
      // What shows is what the drag starts from: the setup pose, or the
      // animation's pose at this time.
      const float start[5] = {animateMode_ ? bone->getRotation() : data.getRotation(),
                              animateMode_ ? bone->getX() : data.getX(), animateMode_ ? bone->getY() : data.getY(),
                              animateMode_ ? bone->getScaleX() : data.getScaleX(),
                              animateMode_ ? bone->getScaleY() : data.getScaleY()};
      std::copy(start, start + 5, dragStart_);
      dragAngle_ = 0;
      dragLastAngle_ = std::atan2(pressY_ - bone->getWorldY(), pressX_ - bone->getWorldX()) * 180 / M_PI;
      boneDrag_ = dragScale_ ? BoneDrag::Scale : dragMove_ ? BoneDrag::Move : BoneDrag::Rotate;
      playing_ = false;
      RefreshLabels();
      editor_->BeginGesture();
    }
  }
  if (boneDrag_ != BoneDrag::None && boneDrag_ != BoneDrag::Armed && left.down) DragBone();
  if (boneDrag_ != BoneDrag::None && !left.down) {
    if (boneDrag_ == BoneDrag::Armed) {
      // A click away from every joint lets the bone go.
      if (!(showBones_ && JointAt(left.releaseX, left.releaseY) >= 0)) SelectBone("");
    } else {
      editor_->EndGesture();
      for (const std::string& line : dragCommands_) Tell("edit: " + line);
      dragCommands_.clear();
    }
    boneDrag_ = BoneDrag::None;
    dragValues_.clear();
  }
  RefreshTitle();
}

void ViewerScreen::DrawEditing(const Area& view) {
  const int32_t line = painter_.LineHeight();
  // The mode and whether edits are unsaved, on the time bar's strip, right.
  const bool unsaved = editor_ && editor_->Modified();
  std::string mode = !editor_ ? "view only: " + editorError_ : animateMode_ ? "ANIMATE (Tab)" : "SETUP (Tab)";
  if (editor_ && animateMode_) mode += " " + AnimationForKeys();
  const std::string state = unsaved ? "unsaved edits (Ctrl+S)" : editor_ ? "saved" : "";
  const int32_t stateX = view.width - kTimeBarInset - painter_.Width(state);
  const int32_t textY = g_system->windowHeight - kTimeBarBottom + 8;
  painter_.Draw(state, stateX, textY, unsaved ? kUnsavedColor : kGrey);
  painter_.Draw(mode, stateX - 24 - painter_.Width(mode), textY,
                !editor_       ? kErrorColor
                : animateMode_ ? kKeyColor
                               : kWhite);
  if (boneList_ && boneList_->visible) {
    FillRect({kSlotListInset, kSlotListTop - line - 10, kBoneListWidth, line + 8}, kBand);
    painter_.Draw("Bones (click: select)", kSlotListInset + 6, kSlotListTop - line - 6, kWhite);
  }

  // The selected bone, its keys on the time bar and the values being dragged.
  skel::Bone* bone =
      sprite_ && !selectedBone_.empty() ? sprite_->skeleton->findBone(skel::String(selectedBone_.c_str())) : nullptr;
  if (bone) {
    const float bx = bone->getWorldX(), by = bone->getWorldY(), length = bone->getData().getLength();
    if (length > 0) DrawLine(bx, by, bx + bone->getA() * length, by + bone->getC() * length, kSelectColor, 3.0f);
    const int32_t jx = static_cast<int32_t>(std::lround(bx)), jy = static_cast<int32_t>(std::lround(by));
    OutlineRect({jx - 6, jy - 6, 13, 13}, kSelectColor);
    const std::string label = "bone " + selectedBone_ +
                              (animateMode_ ? "   drag turns, +Shift moves, +Ctrl scales, K keys"
                                            : "   drag turns, +Shift moves, +Ctrl scales");
    FillRect({jx + 10, jy - line - 8, painter_.Width(label) + 10, line + 6}, kBand);
    painter_.Draw(label, jx + 15, jy - line - 6, kSelectColor);
  }
  if (!dragValues_.empty()) {
    const int32_t mx = g_system->mouseX + 16, my = g_system->mouseY + 12;
    FillRect({mx - 4, my - 2, painter_.Width(dragValues_) + 10, line + 6}, kBand);
    painter_.Draw(dragValues_, mx + 1, my, kWhite);
  }
  if (playback_ && timeBar_) {
    const Rect bar = timeBar_->GetRect();
    for (const auto& key : SelectedBoneKeys()) {
      const float t = keyDrag_ && key.second == keyDragFrom_ ? keyDragTo_ : key.second;
      FillRect({KeyMarkerX(t) - kMarkerSize / 2, bar.y - kMarkerSize - 1, kMarkerSize, kMarkerSize}, kKeyColor);
    }
  }

  if (prompt_ == Prompt::None) return;
  const Rect box = PromptBox(view);
  FillRect(box, kPromptColor);
  OutlineRect(box, kWhite);
  const bool closing = prompt_ == Prompt::Close;
  painter_.Draw(closing ? "The skeleton has unsaved edits. Save them before closing?"
                        : "The file changed on disk, and the edits here are not saved.",
                box.x + 20, box.y + 18, kWhite);
  painter_.Draw(closing ? "" : "Reload drops the edits; keeping them, a save replaces the file.", box.x + 20,
                box.y + 24 + line, kGrey);
  const char* const labels[] = {closing ? "Save (S)" : "Reload (R)", closing ? "Discard (D)" : "Keep mine (Esc)",
                                "Cancel (Esc)"};
  for (int i = 0; i < (closing ? 3 : 2); ++i) {
    const Rect button = PromptButton(view, i);
    FillRect(button, kButtonColor);
    OutlineRect(button, kWhite);
    painter_.Draw(labels[i], button.x + (button.width - painter_.Width(labels[i])) / 2,
                  button.y + (button.height - line) / 2, kWhite);
  }
}

}  // namespace skelview
