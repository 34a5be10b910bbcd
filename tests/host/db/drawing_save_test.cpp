// What the saver writes the loader reads, for generated drawings and at the handle limit; and
// saves that the file system stands in the way of.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "crt/format.h"
#include "db_test_support.h"

namespace {

// The loader's limit on the handle seed.
constexpr Adesk::UInt64 kMaxHandseed = Adesk::UInt64{1} << 62;
// Where the header keeps the seed: after the signature, the format version and a reserved word.
constexpr std::size_t kHandseedAt = 12;

// Any character a drawing may hold: ASCII, the rest of the plane without surrogates, astral.
std::wstring randomText(std::mt19937& random) {
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> plane(0, 2);
    std::wstring text;
    for (int n = length(random); n > 0; --n) {
        switch (plane(random)) {
        case 0:
            text += static_cast<wchar_t>(std::uniform_int_distribution<int>(1, 0x7F)(random));
            break;
        case 1:
            text +=
                static_cast<wchar_t>(std::uniform_int_distribution<int>(0xE000, 0xFFFD)(random));
            break;
        default:
            text +=
                static_cast<wchar_t>(std::uniform_int_distribution<int>(0x10000, 0x10FFFF)(random));
        }
    }
    return text;
}

class DbDrawingSave : public DbTest {
protected:
    std::string save(AcDbDatabase* what, const char* name) {
        const std::string path = tempPath(name);
        EXPECT_EQ(what->saveAs(svFromUtf8(path).c_str()), Acad::eOk);
        return path;
    }
    AcDbDatabase* load(const std::string& path) {
        auto* loaded = new AcDbDatabase(false);
        EXPECT_EQ(loaded->readDwgFile(svFromUtf8(path).c_str()), Acad::eOk) << path;
        m_loaded.emplace_back(loaded);
        return loaded;
    }

    // Records with every kind of field, pointing at each other, linked, some erased.
    void fillAtRandom(std::mt19937& random) {
        std::vector<AcDbObjectId> records;
        std::uniform_int_distribution<int> count(0, 30);
        for (int n = count(random); n > 0; --n) {
            records.push_back(addRecord(static_cast<Adesk::Int32>(random())));
            DbTestRecord* record = nullptr;
            ASSERT_EQ(acdbOpenObject(record, records.back(), AcDb::kForWrite), Acad::eOk);
            record->setText(randomText(random).c_str());
            auto pick = [&] {
                return records[std::uniform_int_distribution<std::size_t>(0, records.size() -
                                                                                 1)(random)];
            };
            if (random() % 2 != 0)
                record->setTarget(pick());
            if (random() % 2 != 0)
                record->setLabel(pick());
            record->close();
            if (random() % 4 == 0)
                attachLink(pick(), pick());
            if (random() % 3 == 0)
                addEntity(random() % 2 != 0 ? db->modelSpaceId() : db->paperSpaceId(),
                          static_cast<Adesk::UInt16>(random() % 257));
        }
        for (const AcDbObjectId& id : records) {
            DbTestRecord* record = nullptr;
            if (random() % 5 == 0 && acdbOpenObject(record, id, AcDb::kForWrite) == Acad::eOk) {
                record->erase();
                record->close();
            }
        }
        db->setLuprec(static_cast<Adesk::Int16>(random() % 9));
        db->setSysVar(L"SVTEXT", AcDbSysVar::string(randomText(random).c_str()));
    }

    std::vector<std::unique_ptr<AcDbDatabase>> m_loaded;
};

TEST_F(DbDrawingSave, EveryGeneratedDrawingReadsBackAndSavesTheSameBytes) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        TearDown();
        SetUp();
        std::mt19937 random(seed);
        fillAtRandom(random);
        const std::string first = save(db, "generated.svd");
        AcDbDatabase* loaded = load(first);
        EXPECT_EQ(loaded->handseed(), db->handseed());
        EXPECT_EQ(bytesOf(save(loaded, "generated-again.svd")), bytesOf(first));
    }
}

// A drawing whose seed is at the limit opens; what cannot get a handle any more is refused, and
// what is saved then opens again.
TEST_F(DbDrawingSave, AtTheHandleLimitNewObjectsAreRefusedAndTheSaveStillOpens) {
    addRecord(1);
    std::vector<unsigned char> bytes = bytesOf(save(db, "seed.svd"));
    for (Adesk::UInt64 room : {Adesk::UInt64{0}, Adesk::UInt64{2}}) {
        SCOPED_TRACE(room);
        const Adesk::UInt64 seed = kMaxHandseed - room;
        for (std::size_t i = 0; i < 8; ++i)
            bytes[kHandseedAt + i] = static_cast<unsigned char>(seed >> (8 * i));
        const std::string patched = tempPath("seed-at-limit.svd");
        writeBytes(patched, bytes);
        AcDbDatabase* loaded = load(patched);
        for (Adesk::UInt64 i = 0; i < room; ++i)
            addRecord(2, loaded);
        AcDbDictionary* nod = nullptr;
        ASSERT_EQ(loaded->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
        auto* refused = new DbTestRecord;
        AcDbObjectId id;
        EXPECT_EQ(nod->setAt(L"*U", refused, id), Acad::eOutOfRange);
        EXPECT_TRUE(id.isNull());
        nod->close();
        delete refused;
        EXPECT_EQ(loaded->handseed().value(), kMaxHandseed);
        load(save(loaded, "seed-saved.svd"));
    }
}

// Saving names the reason the system gave, and a failed save keeps the file that was there.
TEST_F(DbDrawingSave, FailedSavesSayWhyAndKeepTheFileThatWasThere) {
    const std::string path = save(db, "kept.svd");
    const std::vector<unsigned char> before = bytesOf(path);
    addRecord(3);
    auto saveFails = [&](const std::string& where, const std::wstring& why) {
        EXPECT_EQ(db->saveAs(svFromUtf8(where).c_str()), Acad::eFileAccessErr) << where;
        EXPECT_EQ(std::wstring(svDbFileError(db)), why) << where;
    };

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    saveFails(path, L"the file is read-only");
    EXPECT_EQ(bytesOf(path), before);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

    saveFails(testing::TempDir() + "no-such-folder-here/x.svd", L"no such folder");
    const std::string folder = tempPath("a-folder");
    std::filesystem::create_directory(folder);
    saveFails(folder, L"it is a folder");
    std::filesystem::remove(folder);

    // A file size limit makes the write itself fail, as a full disk does.
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit small = {16, limit.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    saveFails(path, L"File too large");
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(bytesOf(path), before);
    for (const auto& entry : std::filesystem::directory_iterator(testing::TempDir()))
        EXPECT_NE(entry.path().string().rfind(path + ".svtmp-", 0), 0u) << entry.path();

    EXPECT_EQ(db->saveAs(svFromUtf8(path).c_str()), Acad::eOk);
    EXPECT_STREQ(svDbFileError(db), L"");
}

// A drawing of many megabytes is written a part at a time: a write failing after its first parts
// still keeps the file that was there, and the whole reads back and saves the same bytes.
TEST_F(DbDrawingSave, ALargeDrawingFailingPartWayKeepsTheOldFileAndWholeReadsBack) {
    const std::string path = save(db, "large.svd");
    const std::vector<unsigned char> before = bytesOf(path);
    const std::wstring text(120, L'\u00e9');
    for (int i = 0; i < 30000; ++i) {
        DbTestRecord* record = nullptr;
        ASSERT_EQ(acdbOpenObject(record, addRecord(i), AcDb::kForWrite), Acad::eOk);
        record->setText((text + std::to_wstring(i)).c_str());
        record->close();
    }

    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit partWay = {3u << 20, limit.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &partWay), 0);
    EXPECT_EQ(db->saveAs(svFromUtf8(path).c_str()), Acad::eFileAccessErr);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_STREQ(svDbFileError(db), L"File too large");
    EXPECT_EQ(bytesOf(path), before);
    for (const auto& entry : std::filesystem::directory_iterator(testing::TempDir()))
        EXPECT_NE(entry.path().string().rfind(path + ".svtmp-", 0), 0u) << entry.path();

    save(db, "large.svd");
    const std::vector<unsigned char> whole = bytesOf(path);
    EXPECT_GT(whole.size(), std::size_t{6} << 20);
    AcDbDatabase* loaded = load(path);
    EXPECT_EQ(bytesOf(save(loaded, "large-again.svd")), whole);
}

// Through a link the target is written beside itself, and the link stays a link.
TEST_F(DbDrawingSave, SavingThroughASymbolicLinkWritesItsTarget) {
    const std::string targets = tempPath("targets");
    const std::string links = tempPath("links");
    std::filesystem::create_directory(targets);
    std::filesystem::create_directory(links);
    const std::string target = targets + "/drawing.svd";
    const std::string link = links + "/drawing.svd";
    std::filesystem::create_symlink(
        "../" + std::filesystem::path(targets).filename().string() + "/drawing.svd", link);
    addRecord(4);
    save(db, "reference.svd");
    const std::vector<unsigned char> wanted = bytesOf(tempPath("reference.svd"));

    // Dangling at first: the save makes the target.
    ASSERT_EQ(db->saveAs(svFromUtf8(link).c_str()), Acad::eOk);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(bytesOf(target), wanted);
    ASSERT_EQ(db->saveAs(svFromUtf8(link).c_str()), Acad::eOk);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(bytesOf(target), wanted);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(links),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(targets),
                            std::filesystem::directory_iterator()),
              1);
    std::filesystem::remove_all(targets);
    std::filesystem::remove_all(links);
}

} // namespace
