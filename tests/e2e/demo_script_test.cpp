// The README's main job, the user's session of examples/, whose listings must show every label
// following its source; and the generated sample drawing in short sessions of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/bin_dir.h"

namespace {

// One entity of a LIST: its kind and the lines that carry a label.
struct Listed {
    std::string kind;
    std::string color;
    std::string text;
    std::map<std::string, std::string> attributes;
};

using Listing = std::vector<Listed>;

std::string unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string after(const std::string& line, const std::string& label) {
    std::string rest = line.substr(line.find(label) + label.size());
    rest.erase(0, rest.find_first_not_of(' '));
    return rest;
}

// Every LIST of the transcript, in order.
std::vector<Listing> listings(const std::string& transcript) {
    std::vector<Listing> all(1);
    std::istringstream lines(transcript);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("object(s) listed.") != std::string::npos) {
            all.emplace_back();
        } else if (!line.empty() && line[0] >= 'A' && line[0] <= 'Z' &&
                   line.find(" Layer: ") != std::string::npos) {
            all.back().push_back(Listed{line.substr(0, line.find(' ')), "", "", {}});
        } else if (!all.back().empty() && line.starts_with("    Color:")) {
            all.back().back().color = after(line, "Color:");
        } else if (!all.back().empty() && line.starts_with("    text:")) {
            all.back().back().text = unquoted(after(line, "text:"));
        } else if (!all.back().empty() && line.starts_with("    attribute:")) {
            const std::string entry = after(line, "attribute:");
            const std::size_t equals = entry.find(" = ");
            if (equals != std::string::npos)
                all.back().back().attributes[entry.substr(0, equals)] =
                    unquoted(entry.substr(equals + 3));
        }
    }
    all.pop_back();
    return all;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Session {
    int status = -1;
    std::string output;
};

Session shell(const std::string& command) {
    Session run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

class DemoScript : public testing::Test {
protected:
    // Beside the bin folder, where the scripts of these tests find the modules as "../bin".
    void SetUp() override {
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = binDir() + "/../e2e_demo_" + name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }

    Session inFolder(const std::string& command) const {
        return shell("cd '" + folder + "' && " + command);
    }

    Session runDemo() const {
        return inFolder("'" + binDir() + "/svhost' '" SV_EXAMPLES_DIR "/live_labels.scr'");
    }

    Session makeSample() const { return inFolder("'" + binDir() + "/make_sample' sample.svd"); }

    Session runScript(const std::string& text) const {
        std::ofstream(folder + "/extra.scr") << text;
        return inFolder("'" + binDir() + "/svhost' extra.scr");
    }

    // The application module works off self-links once it has its pass ("sv_update" and the
    // editor reactor arrive together).
    std::string folder;
};

// The session lists the model's labels, then the sheet's: as linked, after the sources changed,
// and after the bath was unlinked and the drawing saved, reopened and changed once more.
TEST_F(DemoScript, LabelsFollowTheirSourcesThroughChangesAndAReopening) {
    const Session run = runDemo();
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<Listing> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 6u) << run.output;
    for (std::size_t i = 0; i < lists.size(); i += 2) {
        ASSERT_EQ(lists[i].size(), 6u) << "listing " << i << run.output;
        ASSERT_EQ(lists[i + 1].size(), 1u) << "listing " << i + 1 << run.output;
    }
    struct Labels {
        std::string kitchen, bath, marker, front, side, east, north, sheet;
    };
    auto labelsAt = [&](std::size_t phase) {
        const Listing& model = lists[2 * phase];
        EXPECT_EQ(model[0].attributes.at("NAME"), "Kitchen") << "names stay as typed";
        EXPECT_EQ(model[2].kind, "CIRCLE");
        return Labels{model[0].attributes.at("AREA"),
                      model[1].attributes.at("AREA"),
                      model[2].color,
                      model[3].text,
                      model[4].text,
                      model[5].attributes.at("E"),
                      model[5].attributes.at("N"),
                      lists[2 * phase + 1][0].text};
    };
    auto expectLabels = [&](std::size_t phase, const Labels& wanted) {
        const Labels got = labelsAt(phase);
        EXPECT_EQ(got.kitchen, wanted.kitchen) << "phase " << phase;
        EXPECT_EQ(got.bath, wanted.bath) << "phase " << phase;
        EXPECT_EQ(got.marker, wanted.marker) << "phase " << phase;
        EXPECT_EQ(got.front, wanted.front) << "phase " << phase;
        EXPECT_EQ(got.side, wanted.side) << "phase " << phase;
        EXPECT_EQ(got.east, wanted.east) << "phase " << phase;
        EXPECT_EQ(got.north, wanted.north) << "phase " << phase;
        EXPECT_EQ(got.sheet, wanted.sheet) << "phase " << phase;
    };
    // Areas with their unit, green up to 25 m2, lengths through the macro tried in the check,
    // the survey point labelling itself, the sheet's label linked through the viewport.
    expectLabels(
        0, {"24.00 m2", "16.00 m2", "3", "10.00 m", "4.00 m", "E 13.00", "N 2.00", "10.00 m"});
    expectLabels(
        1, {"30.00 m2", "24.00 m2", "1", "12.00 m", "5.00 m", "E 15.00", "N 3.00", "12.00 m"});
    // A trapezoid now, 6 wide and 5 and 6 high; the unlinked bath kept its label when stretched.
    expectLabels(
        2, {"33.00 m2", "24.00 m2", "1", "14.00 m", "5.00 m", "E 15.00", "N 3.00", "14.00 m"});
}

TEST_F(DemoScript, PlotsShowTheLabelsBeforeAndAfter) {
    const Session run = runDemo();
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string before = readFile(folder + "/labels-before.svg");
    const std::string changed = readFile(folder + "/labels-after.svg");
    for (const char* text : {"24.00 m2", "16.00 m2", "10.00 m", "4.00 m", "Kitchen", "E 13.00"})
        EXPECT_NE(before.find(text), std::string::npos) << text;
    for (const char* text : {"30.00 m2", "24.00 m2", "12.00 m", "5.00 m", "Kitchen", "N 3.00"})
        EXPECT_NE(changed.find(text), std::string::npos) << text;
    for (const char* text : {"30.00 m2", "12.00 m", "5.00 m"})
        EXPECT_EQ(before.find(text), std::string::npos) << text;
    EXPECT_EQ(changed.find("16.00 m2"), std::string::npos);
    EXPECT_NE(readFile(folder + "/sheet-before.svg").find("10.00 m"), std::string::npos);
    EXPECT_NE(readFile(folder + "/sheet-after.svg").find("12.00 m"), std::string::npos);
}

// The saved drawing is live in a new session: the links the user made were filed with it.
TEST_F(DemoScript, TheSavedDrawingKeepsItsLinks) {
    ASSERT_EQ(runDemo().status, 0);
    const Session reopened = runScript("ARXLOAD ../bin/SentavellUi17.arx\n"
                                       "OPEN session.svd\n"
                                       "VERTEX 3,6 0,6 0,5\n"
                                       "LIST 3,1.4 0.9,3.4 \"\"\n");
    ASSERT_EQ(reopened.status, 0) << reopened.output;
    const std::vector<Listing> lists = listings(reopened.output);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 2u) << reopened.output;
    EXPECT_EQ(lists[0][0].attributes.at("AREA"), "30.00 m2");
    EXPECT_EQ(lists[0][1].color, "1");
}

// LIST tells a user what a link is: on a source each link with its style, reader, modifier and
// macro; on a label the link and the source that write it; on a self-linked point "itself".
TEST_F(DemoScript, ListShowsEachLinkWithItsStyleAndALabelItsSource) {
    ASSERT_EQ(makeSample().status, 0);
    const Session run = runScript("ARXLOAD ../bin/SentavellUi17.arx\n"
                                  "OPEN sample.svd\n"
                                  "LIST 0,2 \"\"\n"
                                  "LIST 5,-1.5 \"\"\n"
                                  "LIST 13,2 \"\"\n");
    ASSERT_EQ(run.status, 0) << run.output;
    const auto has = [&](const std::string& part) {
        return run.output.find(part) != std::string::npos;
    };
    EXPECT_TRUE(has("link:     style \"Room area\", label INSERT ")) << run.output;
    EXPECT_TRUE(has("writes:   Block modifier, attribute AREA")) << run.output;
    EXPECT_TRUE(has("macro:    \"%PROPERTY m2\"")) << run.output;
    EXPECT_TRUE(has("link:     style \"Area signal\", label CIRCLE ")) << run.output;
    EXPECT_TRUE(has("  AcPropertyLink of LINE "))
        << "the front text names its source" << run.output;
    EXPECT_TRUE(has("reads:    Length")) << run.output;
    EXPECT_TRUE(has("link:     style \"Easting\", label the source itself")) << run.output;
}

// Without the modules the drawing still opens and a changed source leaves its labels as they were.
TEST_F(DemoScript, TheSampleOpensWithoutTheModules) {
    ASSERT_EQ(makeSample().status, 0);
    const Session run =
        runScript("OPEN sample.svd\nVERTEX 5,-1 10,-1 12,-1\nLIST 3,1.8 5,-1.5 \"\"\n");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<Listing> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 2u) << run.output;
    EXPECT_EQ(lists[0][0].attributes.at("AREA"), "24.00 m2");
    EXPECT_EQ(lists[0][1].text, "10.0 m");
}

// UNDO takes back sources and the labels their links wrote in the same command, the survey
// point's own labels (written by the pass after the MOVE) included; REDO brings both again, the
// history outlives SAVEAS and the links go on working afterwards.
TEST_F(DemoScript, UndoAndRedoTakeLabelsAlongWithTheirSources) {
    ASSERT_EQ(makeSample().status, 0);
    const std::string moved = "LIST 3,1.8 0.6,3.4 5,-1.5 15,3 \"\"\n";
    const std::string unmoved = "LIST 3,1.8 0.6,3.4 5,-1.5 13,2 \"\"\n";
    const Session run = runScript("ARXLOAD ../bin/SentavellUi17.arx\n"
                                  "OPEN sample.svd\n"
                                  "VERTEX 3,4 6,4 6,5\n"
                                  "MOVE 13,2 \"\" 13,2 15,3\n"
                                  "VERTEX 5,-1 10,-1 12,-1\n" +
                                  moved + "UNDO 3\n" + unmoved + "REDO\n" + moved +
                                  "SAVEAS undone.svd\n"
                                  "U\n" +
                                  moved + "VERTEX 5,-1 10,-1 14,-1\n" + moved);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<Listing> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 5u) << run.output;
    for (const Listing& list : lists)
        ASSERT_EQ(list.size(), 4u) << run.output;
    struct Labels {
        std::string area, color, length, east, north;
    };
    auto labelsOf = [](const Listing& list) {
        return Labels{list[0].attributes.at("AREA"), list[1].color, list[2].text,
                      list[3].attributes.at("E"), list[3].attributes.at("N")};
    };
    auto expectLabels = [&](std::size_t i, const Labels& wanted) {
        const Labels got = labelsOf(lists[i]);
        EXPECT_EQ(got.area, wanted.area) << "listing " << i;
        EXPECT_EQ(got.color, wanted.color) << "listing " << i;
        EXPECT_EQ(got.length, wanted.length) << "listing " << i;
        EXPECT_EQ(got.east, wanted.east) << "listing " << i;
        EXPECT_EQ(got.north, wanted.north) << "listing " << i;
    };
    const Labels changed{"27.00 m2", "1", "12.0 m", "E 15.00", "N 3.00"};
    expectLabels(0, changed);
    expectLabels(1, {"24.00 m2", "3", "10.0 m", "E 13.00", "N 2.00"});
    expectLabels(2, changed);
    expectLabels(3, {"27.00 m2", "1", "10.0 m", "E 15.00", "N 3.00"});
    expectLabels(4, {"27.00 m2", "1", "14.0 m", "E 15.00", "N 3.00"});
}

// The module's commands are steps too: an undone link removal leaves the label live.
TEST_F(DemoScript, UndoingALinkRemovalKeepsTheLabelFollowing) {
    ASSERT_EQ(makeSample().status, 0);
    const Session run = runScript("ARXLOAD ../bin/SentavellUi17.arx\n"
                                  "OPEN sample.svd\n"
                                  "sv_linkremove 8,0 \"\"\n"
                                  "U\n"
                                  "VERTEX 8,0 12,0 14,0\n"
                                  "LIST 8,1.8 \"\"\n");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<Listing> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 1u) << run.output;
    ASSERT_EQ(lists[0].size(), 1u) << run.output;
    EXPECT_EQ(lists[0][0].attributes.at("AREA"), "24.00 m2");
}

} // namespace
