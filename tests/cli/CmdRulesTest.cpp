#include <gtest/gtest.h>

#include <string>

#include "cli/RunCtl.h"
#include "common/TempFolder.h"
#include "settings/ProgramRules.h"

namespace orv {
namespace {

using test::CtlResult;
using test::Quoted;

TEST(CmdRules, AddListAndRemove) {
    test::TempFolder folder;
    CtlResult r = test::RunCtlIn(folder, "rules list");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "following=off\nno-rule=keep\n");

    EXPECT_EQ(test::RunCtlIn(folder, "rules add steam 2").exit, 0);
    EXPECT_EQ(
        test::RunCtlIn(folder, "rules add " + Quoted(std::string("C:\\Games\\My Game.exe")) + " 3 UnityWndClass").exit,
        0);
    EXPECT_EQ(test::RunCtlIn(folder, "rules add steam 4").exit, 0);
    r = test::RunCtlIn(folder, "rules list");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "following=on\nno-rule=keep\nsteam profile=4\nMy Game.exe profile=3 class=UnityWndClass\n");

    r = test::RunCtlIn(folder, "rules remove steam");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.err, "");
    r = test::RunCtlIn(folder, "rules remove steam");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "no rule for steam\n");
    EXPECT_EQ(test::RunCtlIn(folder, "rules list").out,
              "following=on\nno-rule=keep\nMy Game.exe profile=3 class=UnityWndClass\n");
}

TEST(CmdRules, RefusesBadInputAndDamagedFiles) {
    test::TempFolder folder;
    struct Case {
        const char* args;
        int exit;
        const char* err;
    };
    const Case cases[] = {
        {"rules add steam 6", 2, "profile must be 1 to 5: 6\n"},
        {"rules add steam x", 2, "profile must be 1 to 5: x\n"},
        {"rules add /usr/bin/ 1", 2, "not a program's file name: /usr/bin/\n"},
        {"rules add steam", 2, nullptr},
        {"rules", 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CtlResult r = test::RunCtlIn(folder, c.args);
        EXPECT_EQ(r.exit, c.exit);
        if (c.err) {
            EXPECT_EQ(r.err, c.err);
        } else {
            EXPECT_EQ(r.err.rfind("usage: orv-gmousectl", 0), 0u) << r.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(ProgramRulesPath(folder.Path())));

    const std::string damaged = "[Follow]\nRules=1\n";
    test::WriteBytes(ProgramRulesPath(folder.Path()), damaged);
    const std::string said = PathToUtf8(ProgramRulesPath(folder.Path())) + " is damaged: fix or remove it\n";
    for (const char* args : {"rules list", "rules add steam 1", "rules remove steam"}) {
        SCOPED_TRACE(args);
        const CtlResult r = test::RunCtlIn(folder, args);
        EXPECT_EQ(r.exit, 1);
        EXPECT_EQ(r.err, said);
    }
    EXPECT_EQ(test::ReadBytes(ProgramRulesPath(folder.Path())), damaged);
}

}  // namespace
}  // namespace orv
