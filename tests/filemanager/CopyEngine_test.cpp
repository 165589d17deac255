// The upload: desktop trees collected from a real folder (or a scripted file system) and sent
// into an in-memory phone, with the replace and failure questions answered from a script.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "filemanager/CopyEngine.h"
#include "support/MemoryPhone.h"
#include "support/ScriptedQuestions.h"

namespace fs = std::filesystem;

namespace {

class RecordingCopy : public CopyProgress {
public:
    bool IsCancelled() override { return false; }
    void SetFileSize(uint32_t) override {}
    void AddTransferred(uint32_t) override {}
    void PumpMessages() override {}
    void SetSourceText(const GString&) override {}
    void SetTargetText(const GString& text) override { target = text.CStr(); }
    void SetFileCounter(uint32_t number, uint32_t count) override
    {
        counters.push_back(std::to_string(number) + "/" + std::to_string(count));
    }
    std::string target;
    std::vector<std::string> counters;
};

// A scratch desktop folder, removed afterwards.
class Desktop {
public:
    Desktop()
    {
        static int serial = 0;
        root = fs::temp_directory_path() /
               ("qv-desktop-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
        fs::create_directories(root);
    }
    ~Desktop() { fs::remove_all(root); }
    void File(const std::string& rel, const std::string& content)
    {
        fs::create_directories((root / rel).parent_path());
        std::ofstream(root / rel, std::ios::binary) << content;
    }
    GString Path(const std::string& rel) const { return GString((root / rel).string().c_str()); }
    fs::path root;
};

struct CopyRig {
    CopyEngine::Outcome Upload(const std::vector<std::string>& dropped)
    {
        std::vector<GString> paths;
        for (const std::string& rel : dropped)
            paths.push_back(desktop.Path(rel));
        list.Collect(paths, SystemFileSystem());
        CopyEngine engine(phone, questions, progress, "PHONE:");
        const CopyEngine::Outcome outcome = engine.Run(list);
        engineSkipped = engine.Skipped();
        return outcome;
    }
    std::string Content(const std::string& path) const
    {
        const MemoryPhone::Node* node = phone.Find(path);
        return node != nullptr ? node->content : "<missing>";
    }
    MemoryPhone phone;
    ScriptedQuestions questions;
    RecordingCopy progress;
    Desktop desktop;
    UploadList list;
    std::vector<SkippedItem> engineSkipped;
};

}  // namespace

TEST(CopyEngine, TreeMergesIntoAnExistingFolderAfterYesToAll)
{
    CopyRig rig;
    rig.desktop.File("Музыка/a.mp3", "A");
    rig.desktop.File("Музыка/Рок/b.mp3", "new B");
    fs::create_directories(rig.desktop.root / "Музыка/пусто");
    rig.desktop.File("note.txt", "new note");
    rig.phone.File("Sounds/note.txt", "old note");
    rig.phone.File("Sounds/Музыка/Рок/b.mp3", "old B");
    rig.phone.File("Sounds/Музыка/Рок/keep.mp3", "K");
    rig.phone.GoTo("Sounds");
    rig.questions.replies = {kReplaceYesToAll};

    EXPECT_EQ(rig.Upload({"Музыка", "note.txt"}), CopyEngine::Outcome::Finished);

    // One question: the merge and the later conflict go on without asking.
    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{"replace Музыка 6"}));
    EXPECT_EQ(rig.Content("Sounds/Музыка/a.mp3"), "A");
    EXPECT_EQ(rig.Content("Sounds/Музыка/Рок/b.mp3"), "new B");
    EXPECT_EQ(rig.Content("Sounds/Музыка/Рок/keep.mp3"), "K");
    EXPECT_EQ(rig.Content("Sounds/note.txt"), "new note");
    EXPECT_TRUE(rig.phone.Exists("Sounds/Музыка/пусто"));
    EXPECT_EQ(std::set<std::string>(rig.progress.counters.begin(), rig.progress.counters.end()),
              (std::set<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(rig.progress.target, "PHONE:Sounds");
    EXPECT_EQ(rig.phone.Cwd(), "Sounds");
}

TEST(CopyEngine, SkippedFoldersLeaveTheirTreesAndFilesKeepTheirNumbers)
{
    CopyRig rig;
    rig.desktop.File("A/x", "x");
    rig.desktop.File("B/y", "y");
    rig.desktop.File("c.txt", "c");
    rig.phone.Folder("A");
    rig.phone.failCreate = {"B"};
    rig.questions.replies = {kReplaceNo};

    EXPECT_EQ(rig.Upload({"A", "B", "c.txt"}), CopyEngine::Outcome::Finished);
    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{"replace A 5", "1009 B"}));
    EXPECT_EQ(rig.phone.Tree(), (std::set<std::string>{"A/", "c.txt"}));
    EXPECT_EQ(rig.progress.counters, (std::vector<std::string>{"3/3"}));
}

TEST(CopyEngine, SizeLimitQuestionOnlyForTheSizeLimitRefusal)
{
    struct Case {
        uint32_t error;
        std::string question;
    };
    const Case cases[] = {
        {1050, "1050 big.bin 1000"},
        {0xC3, "1010 big.bin"},  // an OBEX response code
        {0, "1010 big.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        CopyRig rig;
        rig.desktop.File("big.bin", "0123456789");
        rig.desktop.File("next.bin", "n");
        rig.phone.maxFileSize = 1000;
        rig.phone.failPut["big.bin"] = c.error;
        rig.questions.answers = {true};

        EXPECT_EQ(rig.Upload({"big.bin", "next.bin"}), CopyEngine::Outcome::Finished);
        EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{c.question}));
        EXPECT_EQ(rig.Content("next.bin"), "n");
    }
}

TEST(CopyEngine, DropFromSeveralFoldersIsSentWholeAndAsksAcrossThem)
{
    CopyRig rig;
    rig.desktop.File("one/x.txt", "first");
    rig.desktop.File("two/x.txt", "second");
    rig.desktop.File("two/y.txt", "y");
    rig.desktop.File("one/z.txt", "z");

    EXPECT_EQ(rig.Upload({"one/x.txt", "two/x.txt", "two/y.txt", "one/z.txt"}),
              CopyEngine::Outcome::Finished);
    // The second x.txt is asked about although the phone had none when the upload began.
    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{"replace x.txt 4"}));
    EXPECT_EQ(rig.Content("x.txt"), "second");
    EXPECT_EQ(rig.Content("y.txt"), "y");
    EXPECT_EQ(rig.Content("z.txt"), "z");
}

TEST(CopyEngine, FailedReturnEndsTheUploadBeforeAnythingLandsInTheWrongFolder)
{
    for (const bool answersYes : {false, true}) {
        SCOPED_TRACE(answersYes ? "root answered yes but not reached" : "root refused");
        CopyRig rig;
        rig.desktop.File("F/inner.txt", "i");
        rig.desktop.File("after.txt", "a");
        rig.desktop.File("G/g.txt", "g");
        (answersYes ? rig.phone.rootIgnored : rig.phone.rootRefusals) = 1;

        EXPECT_EQ(rig.Upload({"F", "after.txt", "G"}), CopyEngine::Outcome::WrongFolder);
        EXPECT_EQ(rig.phone.Calls("put "), (std::vector<std::string>{"put F|inner.txt"}));
        EXPECT_TRUE(rig.phone.Calls("mkdir F|").empty());
        ASSERT_EQ(rig.engineSkipped.size(), 1u);
        EXPECT_EQ(rig.engineSkipped[0].reason, SkipReason::WrongFolder);
    }
}

TEST(CopyEngine, PhoneThatTakesNoFilesIsNotTouched)
{
    CopyRig rig;
    rig.desktop.File("a.txt", "a");
    rig.phone.copyToDevice = false;
    EXPECT_EQ(rig.Upload({"a.txt"}), CopyEngine::Outcome::NotAllowed);
    EXPECT_TRUE(rig.phone.calls.empty());
}

TEST(UploadList, LinksToFoldersAreNotWalked)
{
    CopyRig rig;
    rig.desktop.File("top/sub/f.txt", "f");
    fs::create_directory_symlink(rig.desktop.root / "top", rig.desktop.root / "top/sub/loop");

    EXPECT_EQ(rig.Upload({"top"}), CopyEngine::Outcome::Finished);
    ASSERT_EQ(rig.list.skipped.size(), 1u);
    EXPECT_EQ(rig.list.skipped[0].reason, SkipReason::ReparsePoint);
    EXPECT_EQ(rig.phone.Tree(), (std::set<std::string>{"top/", "top/sub/", "top/sub/f.txt"}));
    EXPECT_NE(std::string(SkippedItemsText(rig.list.skipped).CStr()).find("top/sub/loop»"),
              std::string::npos);
}

namespace {

// A file system that answers from a table, as FindFirstFileA would for the names in it.
class TableFileSystem : public LocalFileSystem {
public:
    char Separator() const override { return '\\'; }
    bool Find(const GString& path, FindData& out) override
    {
        const auto it = found.find(path.CStr());
        if (it == found.end())
            return false;
        out = FindData{};
        out.attributes = it->second.second ? kAttributeDirectory : 0x80;
        std::snprintf(out.fileName, sizeof out.fileName, "%s", it->second.first.c_str());
        return true;
    }
    bool List(const GString& path, std::vector<FindData>& out) override
    {
        out.clear();
        for (const std::string& name : contents[path.CStr()]) {
            FindData d{};
            d.attributes = 0x80;
            std::snprintf(d.fileName, sizeof d.fileName, "%s", name.c_str());
            out.push_back(d);
        }
        return true;
    }
    std::map<std::string, std::pair<std::string, bool>> found;  // path -> name, folder
    std::map<std::string, std::vector<std::string>> contents;
};

}  // namespace

TEST(UploadList, NamesTheFileSystemCouldMatchWronglyAreLeftOut)
{
    TableFileSystem table;
    table.found["C:\\d\\a?.jpg"] = {"ab.jpg", false};  // '?' for a letter outside the code page
    table.found["C:\\d\\longname"] = {"other", false};
    table.found["C:\\d\\ok.jpg"] = {"ok.jpg", false};
    table.found["C:\\d\\dir"] = {"dir", true};
    table.contents["C:\\d\\dir"] = {"fine.txt", "bad?.txt"};
    table.found["C:\\d\\dir\\fine.txt"] = {"fine.txt", false};

    UploadList list;
    list.Collect({"C:\\d\\a?.jpg", "C:\\d\\b*.jpg", "C:\\d\\longname", "C:\\d\\ok.jpg",
                  "C:\\d\\gone", "C:\\d\\dir"},
                 table);

    std::vector<std::string> sent;
    for (const UploadRecord& r : list.records)
        sent.push_back(r.file.path.CStr());
    EXPECT_EQ(sent, (std::vector<std::string>{"C:\\d\\ok.jpg", "C:\\d\\dir",
                                              "C:\\d\\dir\\fine.txt"}));
    std::vector<std::pair<std::string, SkipReason>> skipped;
    for (const SkippedItem& s : list.skipped)
        skipped.push_back({s.name.CStr(), s.reason});
    EXPECT_EQ(skipped, (std::vector<std::pair<std::string, SkipReason>>{
                           {"C:\\d\\a?.jpg", SkipReason::NameNotRepresentable},
                           {"C:\\d\\b*.jpg", SkipReason::NameNotRepresentable},
                           {"C:\\d\\longname", SkipReason::NameChanged},
                           {"C:\\d\\gone", SkipReason::NotFound},
                           {"C:\\d\\dir\\bad?.txt", SkipReason::NameNotRepresentable},
                       }));
}
