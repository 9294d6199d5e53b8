#include "app/InterfaceState.h"
#include "app/ShellFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace sw::test {
namespace {

using Id = ControlId;

enum Group { Panes, Lists, View, Gl, Texture, Auto, Manual, EditTools, FileItems };

const std::vector<std::vector<Id>> kGroups{
    /* Panes */ {Id::MeshGroup, Id::TextureGroup},
    /* Lists */
    {Id::MeshList, Id::Hide, Id::Wire, Id::Show, Id::HideAll, Id::WireAll, Id::ShowAll,
     Id::TextureList},
    /* View */
    {Id::PitchBar, Id::YawBar, Id::PanXBar, Id::PanYBar, Id::ZoomBar, Id::MouseModeButton,
     Id::ResetViewButton},
    /* Gl */ {Id::GlView},
    /* Texture */ {Id::ChangeTexture, Id::SelectNoneTexture},
    /* Auto */ {Id::AutoRemapGroup, Id::Front, Id::Back, Id::Top, Id::Bottom, Id::Left, Id::Right},
    /* Manual */ {Id::ManualRemapGroup, Id::Edit},
    /* EditTools */
    {Id::Help, Id::SelectionLabel, Id::SelectAll, Id::SelectNone, Id::Invert, Id::Scale,
     Id::ScaleFactor, Id::AxisLabel, Id::AxisX, Id::AxisY, Id::AxisXY},
    /* FileItems */ {Id::MenuRevert, Id::MenuClose, Id::MenuSave, Id::MenuSaveAs},
};

// Always enabled, whatever the state.
const std::vector<Id> kAlwaysEnabled{Id::MenuOpen, Id::MenuPreferences, Id::MenuToggleControlPanel,
                                     Id::MenuRecalculateOffset, Id::MenuAbout};

enum class Step { OpenModel, ChooseTexture, DropTexture, StartEditing, StopEditing, CloseModel };

void apply(Step step, ShellState& shell, WindowSystem& windows) {
    switch (step) {
    case Step::OpenModel:
        enterModelOpenState(shell, windows);
        enableFileMenu(windows, true);
        break;
    case Step::ChooseTexture:
        setTextureChosen(shell, windows, true);
        break;
    case Step::DropTexture:
        setTextureChosen(shell, windows, false);
        break;
    case Step::StartEditing:
        setEditing(shell, windows, true);
        break;
    case Step::StopEditing:
        setEditing(shell, windows, false);
        break;
    case Step::CloseModel:
        enterNoModelState(shell, windows);
        enableFileMenu(windows, false);
        break;
    }
}

struct StateCase {
    const char* name;
    std::vector<Step> steps; // from the start-up state
    InterfaceState state;
    std::set<Group> enabled;
    const char* editCaption;
};

class InterfaceStates : public ShellFixture, public testing::WithParamInterface<StateCase> {};

TEST_P(InterfaceStates, EnableExactlyTheirGroups) {
    const StateCase& c = GetParam();
    for (const Step step : c.steps)
        apply(step, shell.state, windows);

    EXPECT_EQ(shell.state.interfaceState, c.state);
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        const bool enabled = c.enabled.count(static_cast<Group>(g)) != 0;
        for (const Id id : kGroups[g])
            EXPECT_EQ(windows.isEnabled(id), enabled) << "group " << g << ", control " << toInt(id);
    }
    for (const Id id : kAlwaysEnabled)
        EXPECT_TRUE(windows.isEnabled(id)) << toInt(id);
    EXPECT_EQ(windows.text(Id::Edit), c.editCaption);
    // Greying changes no check and no other caption.
    EXPECT_TRUE(windows.isChecked(Id::AxisXY));
    EXPECT_FALSE(windows.isChecked(Id::AxisX));
    EXPECT_EQ(windows.text(Id::SelectionLabel), "sel:");
    EXPECT_EQ(windows.text(Id::ChangeTexture), "change ...");
}

using S = Step;
INSTANTIATE_TEST_SUITE_P(
    Transitions, InterfaceStates,
    testing::Values(StateCase{"AfterStartUp", {}, InterfaceState::NoModel, {}, "edit"},
                    StateCase{"ModelOpened",
                              {S::OpenModel},
                              InterfaceState::ModelOpen,
                              {Panes, Lists, View, Gl, FileItems},
                              "edit"},
                    StateCase{"TextureChosen",
                              {S::OpenModel, S::ChooseTexture},
                              InterfaceState::TextureChosen,
                              {Panes, Lists, View, Gl, Texture, Auto, Manual, FileItems},
                              "edit"},
                    StateCase{"Editing",
                              {S::OpenModel, S::ChooseTexture, S::StartEditing},
                              InterfaceState::Editing,
                              {Panes, Gl, Auto, Manual, EditTools, FileItems},
                              "return"},
                    StateCase{"ReturnedFromEditing",
                              {S::OpenModel, S::ChooseTexture, S::StartEditing, S::StopEditing},
                              InterfaceState::TextureChosen,
                              {Panes, Lists, View, Gl, Texture, Auto, Manual, FileItems},
                              "edit"},
                    StateCase{"TextureDropped",
                              {S::OpenModel, S::ChooseTexture, S::DropTexture},
                              InterfaceState::ModelOpen,
                              {Panes, Lists, View, Gl, FileItems},
                              "edit"},
                    StateCase{"ClosedWhileEditing",
                              {S::OpenModel, S::ChooseTexture, S::StartEditing, S::CloseModel},
                              InterfaceState::NoModel,
                              {},
                              "edit"},
                    StateCase{"ReopenedAfterClosingWhileEditing",
                              {S::OpenModel, S::ChooseTexture, S::StartEditing, S::CloseModel,
                               S::OpenModel},
                              InterfaceState::ModelOpen,
                              {Panes, Lists, View, Gl, FileItems},
                              "edit"}),
    [](const testing::TestParamInfo<StateCase>& info) { return info.param.name; });

} // namespace
} // namespace sw::test
