#include "app/Windows.h"

#include "app/Frame.h"
#include "app/ShellState.h"
#include "platform/Platform.h"
#include "render/GlFrame.h"

#include <array>
#include <string>

namespace sw {

namespace {

using Kind = ControlKind;
using Id = ControlId;
using Item = MenuItemSpec::Kind;

// The one font of every window and control: the classic dialog font, 14 pixels from the top of
// its ascent to the bottom of its descent.
constexpr const char* kFontFace = "MS Sans Serif";
constexpr int kFontCellHeight = 14;

const WindowDesc kMainWindow{Window::Main, kProgramTitle, {272, 8, 520, 562}};
const WindowDesc kControlPanel{Window::Controls, "Control Panel", {8, 32, 256, 464}};
const WindowDesc kOptionsWindow{Window::Options, "Preferences", {16, 40, 256, 216}};

const auto kMenu = std::to_array<MenuItemSpec>({
    {Item::DropDown, "&File", Id::FileMenu, true},
    {Item::Item, "&Open...", Id::MenuOpen, true},
    {Item::Item, "&Revert", Id::MenuRevert, false},
    {Item::Separator, "", Id::FileMenu, true},
    {Item::Item, "&Save", Id::MenuSave, false},
    {Item::Item, "Save &as...", Id::MenuSaveAs, false},
    {Item::Item, "&Export paint template...", Id::MenuExportTemplate, false},
    {Item::Item, "&Import painting...", Id::MenuImportPainting, false},
    {Item::Separator, "", Id::FileMenu, true},
    {Item::Item, "&Close", Id::MenuClose, false},
    {Item::DropDown, "&Edit", Id::EditMenu, true},
    {Item::Item, "&Undo\tCtrl+Z", Id::MenuUndo, false, "", true},
    {Item::Item, "&Redo\tCtrl+Y", Id::MenuRedo, false, "Ctrl+Shift+Z", true},
    {Item::Separator, "", Id::EditMenu, true},
    {Item::Item, "Rotate selection &left\tCtrl+[", Id::MenuRotateLeft, false, "", true},
    {Item::Item, "Rotate selection ri&ght\tCtrl+]", Id::MenuRotateRight, false, "", true},
    {Item::Item, "Flip selection &horizontally", Id::MenuFlipHorizontally, false},
    {Item::Item, "Flip selection &vertically", Id::MenuFlipVertically, false},
    {Item::Separator, "", Id::EditMenu, true},
    {Item::Item, "&Fit view\tHome", Id::MenuFitView, false, "", true},
    {Item::Separator, "", Id::EditMenu, true},
    {Item::Item, "&Box remap", Id::MenuBoxRemap, false},
    {Item::DropDown, "&Options", Id::OptionsMenu, true},
    {Item::Item, "&Preferences...", Id::MenuPreferences, true},
    {Item::Item, "&Toggle control panel (enter)", Id::MenuToggleControlPanel, true},
    {Item::Item, "&Re-calculate character offset", Id::MenuRecalculateOffset, true},
    {Item::Item, "Te&xture sources...", Id::MenuTextureSources, true},
    {Item::Item, "&Keep texture proportions", Id::MenuKeepProportions, true, "", false, true},
    {Item::BarItem, "&About...", Id::MenuAbout, true},
});

// The main window's children start disabled and without a size; the layout places them.
constexpr Rect kUnplaced{0, 0, 0, 0};
const auto kMainChildren = std::to_array<ControlDesc>({
    {Window::Main, Kind::VerticalScrollBar, Id::PanYBar, "", kUnplaced, false},
    {Window::Main, Kind::HorizontalScrollBar, Id::PanXBar, "", kUnplaced, false},
    {Window::Main, Kind::VerticalScrollBar, Id::ZoomBar, "", kUnplaced, false},
    {Window::Main, Kind::VerticalScrollBar, Id::PitchBar, "", kUnplaced, false},
    {Window::Main, Kind::HorizontalScrollBar, Id::YawBar, "", kUnplaced, false},
    {Window::Main, Kind::PushButton, Id::MouseModeButton, "M", kUnplaced, false},
    {Window::Main, Kind::PushButton, Id::ResetViewButton, "R", kUnplaced, false},
    {Window::Main, Kind::GlView, Id::GlView, "", kUnplaced, false},
});

// Angle bars run over whole degrees, the pan and zoom bars over steps.
struct ScrollRange {
    Id bar;
    int minimum;
    int maximum;
};
constexpr auto kScrollRanges = std::to_array<ScrollRange>({
    {Id::PanYBar, -100, 100},
    {Id::PanXBar, -100, 100},
    {Id::ZoomBar, -100, 100},
    {Id::PitchBar, -180, 180},
    {Id::YawBar, -180, 180},
});

constexpr Window kPanel = Window::Controls;
const auto kPanelChildren = std::to_array<ControlDesc>({
    {kPanel, Kind::GroupBox, Id::MeshGroup, "Mesh", {8, 8, 118, 294}, false},
    {kPanel, Kind::ListBox, Id::MeshList, "", {17, 23, 100, 240}, false},
    {kPanel, Kind::PushButton, Id::Hide, "hide", {17, 256, 30, 18}, false},
    {kPanel, Kind::PushButton, Id::Wire, "wire", {52, 256, 30, 18}, false},
    {kPanel, Kind::PushButton, Id::Show, "show", {87, 256, 30, 18}, false},
    {kPanel, Kind::PushButton, Id::HideAll, "all", {17, 274, 30, 18}, false},
    {kPanel, Kind::PushButton, Id::WireAll, "all", {52, 274, 30, 18}, false},
    {kPanel, Kind::PushButton, Id::ShowAll, "all", {87, 274, 30, 18}, false},
    {kPanel, Kind::GroupBox, Id::TextureGroup, "Texture", {124, 8, 118, 294}, false},
    {kPanel, Kind::ListBox, Id::TextureList, "", {133, 23, 100, 240}, false},
    {kPanel, Kind::PushButton, Id::SelectNoneTexture, "sel none", {133, 256, 100, 18}, false},
    {kPanel, Kind::PushButton, Id::ChangeTexture, "change ...", {133, 274, 100, 18}, false},
    {kPanel, Kind::GroupBox, Id::AutoRemapGroup, "Auto remap", {8, 307, 234, 44}, false},
    {kPanel, Kind::PushButton, Id::Front, "front", {17, 323, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Back, "back", {53, 323, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Top, "top", {89, 323, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Bottom, "bott", {125, 323, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Left, "left", {161, 323, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Right, "right", {197, 323, 36, 18}, false},
    {kPanel, Kind::GroupBox, Id::ManualRemapGroup, "Manual remap", {8, 356, 234, 68}, false},
    {kPanel, Kind::PushButton, Id::Edit, "edit", {17, 372, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Help, "help", {53, 372, 36, 18}, false},
    {kPanel, Kind::Label, Id::SelectionLabel, "sel:", {104, 374, 20, 18}, false},
    {kPanel, Kind::PushButton, Id::SelectAll, "all", {125, 372, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::SelectNone, "none", {161, 372, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Invert, "inv", {197, 372, 36, 18}, false},
    {kPanel, Kind::PushButton, Id::Scale, "scale", {17, 396, 36, 18}, false},
    {kPanel, Kind::EditBox, Id::ScaleFactor, "", {52, 396, 37, 18}, false},
    {kPanel, Kind::Label, Id::AxisLabel, "on:", {104, 398, 20, 18}, false},
    {kPanel, Kind::RadioButton, Id::AxisX, "x", {125, 398, 36, 18}, false},
    {kPanel, Kind::RadioButton, Id::AxisY, "y", {161, 398, 36, 18}, false},
    {kPanel, Kind::RadioButton, Id::AxisXY, "xy", {197, 398, 36, 18}, false},
    // The seventh auto remap, in the band the original layout leaves free below the others.
    {kPanel, Kind::PushButton, Id::BoxRemap, "box", {17, 432, 36, 18}, false},
});

// Each radio label and the check box beside it read as one sentence, hence the two blanks and
// the parentheses.
constexpr Window kOptions = Window::Options;
const auto kOptionsChildren = std::to_array<ControlDesc>({
    {kOptions,
     Kind::GroupBox,
     Id::PriorityGroup,
     "Texture loading priority",
     {8, 8, 236, 60},
     true},
    {kOptions, Kind::RadioButton, Id::MatFirst, "Try MAT first  (", {16, 26, 88, 16}, true},
    {kOptions,
     Kind::CheckBox,
     Id::BmpFallback,
     "load BMP if MAT fails? )",
     {106, 26, 134, 16},
     true},
    {kOptions, Kind::RadioButton, Id::BmpFirst, "Try BMP first  (", {16, 46, 88, 16}, true},
    {kOptions,
     Kind::CheckBox,
     Id::MatFallback,
     "load MAT if BMP fails? )",
     {106, 46, 134, 16},
     true},
    {kOptions, Kind::GroupBox, Id::PaletteGroup, "CMP palette", {8, 80, 236, 63}, true},
    {kOptions, Kind::Label, Id::FileLabel, "File:", {16, 98, 32, 16}, true},
    {kOptions, Kind::Label, Id::PaletteFile, "", {42, 98, 192, 16}, true},
    {kOptions, Kind::PushButton, Id::Browse, "browse...", {16, 116, 64, 18}, true},
    {kOptions, Kind::PushButton, Id::DefaultPalette, "default", {80, 116, 64, 18}, true},
    {kOptions, Kind::PushButton, Id::Ok, "ok", {61, 159, 64, 18}, true},
    {kOptions, Kind::PushButton, Id::Cancel, "cancel", {125, 159, 64, 18}, true},
});

bool registerClass(Platform& platform, Window window, const char* name) {
    if (platform.windows.registerWindowClass(window))
        return true;
    platform.messageBoxes.messageBox(
        Window::None, std::string("Window class registration failed for: ") + name + ".", "Error",
        kMbIconExclamation);
    return false;
}

bool createControls(WindowSystem& windows, std::span<const ControlDesc> controls) {
    for (const ControlDesc& control : controls) {
        if (!windows.createControl(control))
            return false;
    }
    return true;
}

} // namespace

std::span<const ControlDesc> controlPanelControls() {
    return kPanelChildren;
}
std::span<const ControlDesc> mainWindowControls() {
    return kMainChildren;
}

bool createWindows(ShellState& shell, Platform& platform) {
    WindowSystem& windows = platform.windows;
    windows.createFont(kFontFace, kFontCellHeight);

    if (!registerClass(platform, Window::Main, "Main window class"))
        return false;
    windows.createMenu({kMenu.begin(), kMenu.end()});
    windows.setChecked(Id::MenuKeepProportions, shell.keepTextureProportions);
    if (!windows.createWindow(kMainWindow))
        return false;
    // The scroll bars, then "M" and "R"; the view follows once its class exists.
    const std::span<const ControlDesc> barsAndButtons(kMainChildren.data(),
                                                      kMainChildren.size() - 1);
    if (!createControls(windows, barsAndButtons))
        return false;
    for (const ScrollRange& range : kScrollRanges) {
        windows.setScrollRange(range.bar, range.minimum, range.maximum);
        windows.setScrollPos(range.bar, 0);
    }

    if (!registerClass(platform, Window::Controls, "Controls window class") ||
        !windows.createWindow(kControlPanel))
        return false;

    if (!registerClass(platform, Window::Options, "Options window class") ||
        !windows.createWindow(kOptionsWindow) || !createControls(windows, kOptionsChildren))
        return false;
    windows.sendPrivate(Window::Options, PrivateMessage::Refresh);

    if (!registerClass(platform, Window::GlView, "OpenGL window class") ||
        !windows.createControl(kMainChildren.back()))
        return false;

    if (!createControls(windows, kPanelChildren))
        return false;
    windows.setChecked(Id::AxisXY, true);

    // Showing the main window lays out its children.
    windows.setVisible(Window::Controls, true);
    windows.setVisible(Window::Main, true);

    if (!windows.createGlContext())
        return false;
    initGlState();
    const std::optional<Size> view = windows.clientSize(Id::GlView);
    if (!view)
        return false;
    shell.viewportRect = {0, 0, view->width, view->height};
    shell.pixelRatio = windows.viewPixelRatio();
    setupViewProjection(shell);
    return true;
}

void layoutMainWindow(WindowSystem& windows, int width, int height) {
    const int w = width;
    const int h = height;
    windows.moveControl(Id::GlView, {37, 8, w - 71, h - 43});
    windows.moveControl(Id::PanYBar, {8, 8, 10, h - 35});
    windows.moveControl(Id::PitchBar, {19, 8, 10, h - 35});
    windows.moveControl(Id::YawBar, {29, h - 27, w - 56, 10});
    windows.moveControl(Id::PanXBar, {29, h - 16, w - 56, 10});
    windows.moveControl(Id::ZoomBar, {w - 27, 8, 21, h - 35});
    windows.moveControl(Id::MouseModeButton, {8, h - 27, 21, 21});
    windows.moveControl(Id::ResetViewButton, {w - 27, h - 27, 21, 21});
}

} // namespace sw
