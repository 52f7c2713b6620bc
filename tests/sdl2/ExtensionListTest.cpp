#include "platform/common/ExtensionList.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtensionList, NamesOnlyWholeNames) {
    const struct {
        const char* list;
        bool named;
    } cases[] = {
        {"WGL_EXT_swap_control", true},
        {"WGL_ARB_a WGL_EXT_swap_control WGL_ARB_b ", true},
        {"WGL_EXT_swap_control_tear", false},
        {"WGL_EXT_swap_control_tear WGL_EXT_swap_control", true},
        {"XWGL_EXT_swap_control", false},
        {"WGL_EXT_swap", false},
        {"", false},
        {nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list != nullptr ? c.list : "(null)");
        EXPECT_EQ(platform::ExtensionListHas(c.list, "WGL_EXT_swap_control"), c.named);
    }
}

}  // namespace
