// The real program, driven as a user would drive it:
//   ostrelle-driver.bin switch ROW          select profile ROW of the profile file, switch, close
//   ostrelle-driver.bin demo NAME IP MASK GATEWAY DNS1 DNS2
//                                           type a new profile, add it, select it, switch, close
// The profile file is this executable's path less 4 characters, as for the program. OSTRELLE_SHOTS
// names a folder for a picture after every step. Exit status 0 when the switch was reported
// successful (and, for "switch", the profile file was unchanged until the close).
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "UserDriver.h"
#include "app/AddressControls.h"
#include "app/CorvaneApp.h"
#include "controls/ListBoxCH.h"
#include "main/LinuxPlatform.h"
#include "res/Resource.h"

namespace {

using namespace res;

constexpr int kRowHeight = controls::CListBoxCH::kRowHeight;

QByteArray ReadProfileFile() {
    QFile file(QCoreApplication::applicationFilePath().chopped(4));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool SwitchStep(e2e::UserDriver& user, int row) {
    const QByteArray before = ReadProfileFile();
    user.Shot("start");
    user.ClickListRow(IDC_PROFILE_LIST, row, kRowHeight);
    user.Shot("selected");
    user.Click(IDC_SWITCH);
    user.Shot("switched");
    const bool unchanged = ReadProfileFile() == before;
    if (!unchanged)
        std::fprintf(stderr, "the profile file changed before the close\n");
    return unchanged;
}

void DemoStep(e2e::UserDriver& user, const QStringList& args) {
    user.Shot("start");
    user.TypeText(IDC_PROFILE_NAME, args[2]);
    for (int i = 0; i < 5; ++i)
        user.TypeAddress(app::kAddressControls[i].controlId, args[3 + i]);
    user.Shot("typed");
    user.Click(IDC_ADD);
    user.Shot("added");
    user.ClickListRow(IDC_PROFILE_LIST, 0, kRowHeight);
    user.Shot("selected");
    user.Click(IDC_SWITCH);
    user.Shot("switched");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool demo = args.size() == 8 && args[1] == "demo";
    if (!demo && !(args.size() == 3 && args[1] == "switch")) {
        std::fprintf(stderr, "usage: %s switch ROW | demo NAME IP MASK GATEWAY DNS1 DNS2\n", argv[0]);
        return 2;
    }
    platform_linux::LinuxPlatform platform(OSTRELLE_DHCP_LIBRARY_FOLDER);
    e2e::UserDriver user(qEnvironmentVariable("OSTRELLE_SHOTS"));
    user.AnswerMessageBoxes();
    bool ok = true;
    QTimer::singleShot(300, [&] {
        if (demo) {
            DemoStep(user, args);
        } else {
            ok = SwitchStep(user, args[2].toInt());
        }
        user.CloseWindow();
    });
    app::CCorvaneApp(platform.Services()).InitInstance();
    for (const QString& text : user.Answered())
        std::printf("message: %s\n", text.toUtf8().constData());
    const bool switched = user.Answered().contains(QString::fromUtf8("IP配置切换成功!"));
    return ok && switched ? 0 : 1;
}
