#include "editor/UndoHistory.h"

#include <utility>

namespace sw {

void UndoHistory::push(std::unique_ptr<UndoStep> step) {
    gestureOpen_ = false;
    while (steps_.size() > applied_) {
        bytes_ -= steps_.back()->bytes();
        steps_.pop_back();
    }
    // The saved state was among the undone steps: nothing leads back to it now.
    if (saved_ > applied_)
        savedReachable_ = false;
    bytes_ += step->bytes();
    steps_.push_back(std::move(step));
    ++applied_;
    while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes))
        dropOldest();
}

void UndoHistory::dropOldest() {
    bytes_ -= steps_.front()->bytes();
    steps_.pop_front();
    --applied_;
    if (saved_ == 0)
        savedReachable_ = false;
    else
        --saved_;
}

const UndoStep* UndoHistory::undo(Model& model) {
    gestureOpen_ = false;
    if (!canUndo())
        return nullptr;
    UndoStep& step = *steps_[--applied_];
    step.swap(model);
    return &step;
}

const UndoStep* UndoHistory::redo(Model& model) {
    gestureOpen_ = false;
    if (!canRedo())
        return nullptr;
    UndoStep& step = *steps_[applied_++];
    step.swap(model);
    return &step;
}

void UndoHistory::markSaved() {
    saved_ = applied_;
    savedReachable_ = true;
}

void UndoHistory::markUnsavedWithoutSteps() {
    savedReachable_ = false;
}

void UndoHistory::clear() {
    steps_.clear();
    applied_ = 0;
    saved_ = 0;
    savedReachable_ = true;
    gestureOpen_ = false;
    bytes_ = 0;
}

} // namespace sw
