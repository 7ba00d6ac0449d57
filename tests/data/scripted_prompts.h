// Questions answered from a script and messages recorded, for the data-entry tests; nothing
// ever blocks on a dialog.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"

namespace zelkon::test {

class ScriptedPrompts : public UserPrompts {
public:
    std::deque<PromptAnswer> answers;
    std::vector<std::string> asked;
    std::vector<PromptButtons> buttons;
    std::vector<std::string> told;

    PromptAnswer Ask(std::string_view text, PromptButtons kind) override {
        asked.emplace_back(text);
        buttons.push_back(kind);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return PromptAnswer::Cancel;
        }
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Tell(std::string_view text) override { told.emplace_back(text); }
};

}  // namespace zelkon::test
