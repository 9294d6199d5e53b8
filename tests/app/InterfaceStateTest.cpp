#include "app/InterfaceState.h"
#include "app/ShellFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace sw::test {
namespace {

using Step = void (*)(ShellState&, WindowSystem&);
using enum InterfaceState;

struct Move {
    Step step;
    InterfaceState state; // after the step
};

// Walked from the start through the states in the order a user reaches them first, the
// controls give the table of tests/data/interface-states.txt, each with its caption at the
// start; reached again another way, a state enables the same. Greying changes no check and
// no caption but the edit button's.
TEST_F(ShellFixture, InterfaceStatesEnableWhatTheTableSaysHoweverTheyAreReached) {
    const Step open = [](ShellState& s, WindowSystem& w) {
        enterModelOpenState(s, w);
        enableFileMenu(w, true);
    };
    const Step close = [](ShellState& s, WindowSystem& w) {
        enterNoModelState(s, w);
        enableFileMenu(w, false);
    };
    const Step choose = [](ShellState& s, WindowSystem& w) { setTextureChosen(s, w, true); };
    const Step drop = [](ShellState& s, WindowSystem& w) { setTextureChosen(s, w, false); };
    const Step edit = [](ShellState& s, WindowSystem& w) { setEditing(s, w, true); };
    const Step stop = [](ShellState& s, WindowSystem& w) { setEditing(s, w, false); };
    const Move walk[] = {{open, ModelOpen},     {choose, TextureChosen}, {edit, Editing},
                         {stop, TextureChosen}, {drop, ModelOpen},       {choose, TextureChosen},
                         {edit, Editing},       {close, NoModel},        {open, ModelOpen}};
    const auto labels = [this] {
        std::map<Id, std::pair<std::string, bool>> all;
        for (const auto& [id, control] : windows.controls)
            all[id] = {control.text, control.checked};
        return all;
    };
    const auto atStart = labels();
    std::map<Id, std::string> enabled;
    const auto record = [&] {
        for (const auto& [id, control] : windows.controls)
            enabled[id] += control.enabled ? '+' : '-';
    };
    record();
    for (std::size_t i = 0; i < std::size(walk); ++i) {
        walk[i].step(shell.state, windows);
        EXPECT_EQ(shell.state.interfaceState, walk[i].state) << "step " << i;
        auto expected = atStart;
        expected[Id::Edit].first = walk[i].state == Editing ? "return" : "edit";
        EXPECT_EQ(labels(), expected) << "step " << i;
        if (i < 3)
            record();
        else
            expectEnabled(walk[i].state);
    }
    std::string table;
    for (const auto& [id, flags] : enabled)
        table += std::to_string(toInt(id)) + ' ' + flags + " \"" + atStart.at(id).first + "\"\n";
    EXPECT_EQ(table, dataFile("interface-states.txt"));
}

} // namespace
} // namespace sw::test
