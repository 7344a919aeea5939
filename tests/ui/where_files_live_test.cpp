// An installed copy's settings windows say where the settings come from and where Save puts them.
#include "settings/locations.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

TEST_F(UiTest, AnInstalledCopySaysWhereItsSettingsComeFromAndGo) {
    std::string share = prog.Path("prefix/share/varigap"), config = prog.Path("config/varigap");
    prog.Write("prefix/bin/varigap", "");
    prog.Write("prefix/share/varigap/VarigapParams.txt", kParamsFile);
    app = std::make_unique<Application>(msgs, prog.Path("prefix/bin"), data.Path());
    app->session.dataDir = InstalledDataDirectory(app->session.programDir);
    app->session.configDir = config;
    app->Start();
    Main().menuLPAM.UserClick();
    EXPECT_EQ(app->Parameters().lblSettingsFile.Caption(),
              "Settings read from " + share + "/VarigapParams.txt\nSave writes " + config + "/VarigapParams.txt");
}

}  // namespace
}  // namespace varigap::ui::test
