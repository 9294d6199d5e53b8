#include "app/InterfaceState.h"

#include "app/ShellState.h"
#include "platform/WindowSystem.h"

#include <initializer_list>

namespace sw {

namespace {

using Id = ControlId;
using Group = std::initializer_list<ControlId>;

constexpr Group kLists{Id::MeshList, Id::Hide,    Id::Wire,    Id::Show,
                       Id::HideAll,  Id::WireAll, Id::ShowAll, Id::TextureList};
constexpr Group kPanes{Id::MeshGroup, Id::TextureGroup};
constexpr Group kView{Id::PitchBar, Id::YawBar,          Id::PanXBar,        Id::PanYBar,
                      Id::ZoomBar,  Id::MouseModeButton, Id::ResetViewButton};
constexpr Group kGl{Id::GlView};
constexpr Group kTexture{Id::ChangeTexture, Id::SelectNoneTexture};
constexpr Group kAuto{Id::AutoRemapGroup, Id::Front, Id::Back, Id::Top,
                      Id::Bottom,         Id::Left,  Id::Right};
constexpr Group kManual{Id::ManualRemapGroup, Id::Edit};
// The commands on the chosen group that stay usable while editing, as the remaps do.
constexpr Group kChosenGroup{Id::BoxRemap, Id::MenuBoxRemap, Id::MenuExportTemplate,
                             Id::MenuImportPainting};
constexpr Group kEditTools{Id::Help,   Id::SelectionLabel, Id::SelectAll,   Id::SelectNone,
                           Id::Invert, Id::Scale,          Id::ScaleFactor, Id::AxisLabel,
                           Id::AxisX,  Id::AxisY,          Id::AxisXY,      Id::MenuFitView};

void enable(WindowSystem& windows, Group group, bool enabled) {
    for (const ControlId id : group)
        windows.enable(id, enabled);
}

} // namespace

void enterNoModelState(ShellState& shell, WindowSystem& windows) {
    shell.interfaceState = InterfaceState::NoModel;
    for (const Group group :
         {kPanes, kLists, kView, kGl, kTexture, kAuto, kManual, kEditTools, kChosenGroup})
        enable(windows, group, false);
    windows.setText(Id::Edit, "edit");
}

void enterModelOpenState(ShellState& shell, WindowSystem& windows) {
    shell.interfaceState = InterfaceState::ModelOpen;
    for (const Group group : {kPanes, kLists, kView, kGl})
        enable(windows, group, true);
}

void setTextureChosen(ShellState& shell, WindowSystem& windows, bool chosen) {
    shell.interfaceState = chosen ? InterfaceState::TextureChosen : InterfaceState::ModelOpen;
    for (const Group group : {kTexture, kAuto, kManual, kChosenGroup})
        enable(windows, group, chosen);
}

void setEditing(ShellState& shell, WindowSystem& windows, bool editing) {
    shell.interfaceState = editing ? InterfaceState::Editing : InterfaceState::TextureChosen;
    for (const Group group : {kLists, kTexture, kView})
        enable(windows, group, !editing);
    windows.setText(Id::Edit, editing ? "return" : "edit");
    enable(windows, kEditTools, editing);
}

void enableFileMenu(WindowSystem& windows, bool open) {
    windows.enable(Id::MenuOpen, true);
    for (const ControlId id : {Id::MenuRevert, Id::MenuClose, Id::MenuSave, Id::MenuSaveAs})
        windows.enable(id, open);
}

} // namespace sw
