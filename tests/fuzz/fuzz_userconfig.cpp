// data/UserConfig.dat as any file may be: the store reads it without fault, what it writes reads
// back as the same users, and a user added to them keeps them all.
#include "FuzzSupport.h"

#include "core/CUserManage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::setUp();
    FuzzSupport::writeFile(CUserManage::configFilePath(), FuzzSupport::bytes(data, size));

    CUserManage store;
    const QList<User_Info> users = store.getUserList();
    for (const User_Info& user : users)
        FuzzSupport::require(store.getUserById(user.Id).Id == user.Id, "a listed user is not found by its Id");
    FuzzSupport::require(store.writeConfig(), "users not written");

    CUserManage again;
    const QList<User_Info> reread = again.getUserList();
    FuzzSupport::require(reread.size() == users.size(), "written users read back as another count");
    for (int i = 0; i < users.size(); ++i) {
        const User_Info& a = users.at(i);
        const User_Info& b = reread.at(i);
        FuzzSupport::require(a.Id == b.Id && a.Group == b.Group && a.userName() == b.userName()
                                 && a.passWord() == b.passWord() && a.description() == b.description()
                                 && a.inputRights == b.inputRights && a.outputRights == b.outputRights,
                             "a user changed on its way through the file");
    }

    // A new user, as the page makes one, never takes the place of a stored one.
    QString name = QStringLiteral("new");
    for (int i = 0; again.isNameTaken(name); ++i)
        name = QStringLiteral("new%1").arg(i);
    User_Info fresh;
    fresh.Id = again.newId(1700000000000);
    fresh.setUserName(name);
    FuzzSupport::require(again.add(fresh), "a new user was refused");
    CUserManage third;
    FuzzSupport::require(third.getUserList().size() == users.size() + 1 && third.getUserById(fresh.Id).userName() == name,
                         "a new user displaced a stored one");
    return 0;
}
