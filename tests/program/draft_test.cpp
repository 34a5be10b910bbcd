#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "terminal_session.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The listing of the first LIST after `from`: from its selection's count to its closing count.
std::string listing(const std::string& output, std::size_t from) {
    const std::size_t end = output.find("object(s) listed.", from);
    if (from == std::string::npos || end == std::string::npos)
        return {};
    const std::size_t start = output.rfind(" found\n", end);
    return output.substr(start, end - start);
}

std::vector<std::string> listings(const std::string& output) {
    std::vector<std::string> all;
    for (std::size_t at = output.find("object(s) listed."); at != std::string::npos;
         at = output.find("object(s) listed.", at + 1))
        all.push_back(listing(output, output.rfind(" found\n", at)));
    return all;
}

// The texts of an SVG file as python's XML parser reads them, one a line; "PARSE ERROR" when the
// parser refuses the file.
std::string svgTexts(const std::string& path) {
    const std::string command =
        "python3 -c 'import sys, xml.etree.ElementTree as E\n"
        "try:\n"
        "    root = E.parse(sys.argv[1]).getroot()\n"
        "except Exception as e:\n"
        "    print(\"PARSE ERROR\", e); sys.exit(0)\n"
        "for t in root.iter(\"{http://www.w3.org/2000/svg}text\"): print(\"\".join(t.itertext()))\n"
        "' '" +
        path + "'";
    return runCommand(command).output;
}

bool havePython() {
    return std::system("python3 -c 'import xml.etree.ElementTree' >/dev/null 2>&1") == 0;
}

// One entity of every kind the host can draw, each with a text where the kind has one.
const char* const kEveryKind =
    "LINE 0,0 10,0 \"\"\n"
    "PLINE 0,2 4,2 B 1 4,4 0,4 C\n"
    "CIRCLE 5,5 1.5\n"
    "ARC 8,0 9,1 10,0\n"
    "ARC C 2,8 1 0 90\n"
    "ELLIPSE 25,5 28,5 1\n"
    "PLINE 12,0 14,0 14,2 12,2 C\n"
    "REGION 14,1 \"\"\n"
    "TEXT 0,10 0.5 0 Left <b> & 'q'\n"
    "TEXT J MC 5,10 0.3 15 Middle centre\n"
    "TEXT J Align 0,12 6,12 Aligned\n"
    "TEXT J Fit 0,13 6,13 0.4 Fitted\n"
    "TEXT J Right 6,14 0.3 0 Right\n"
    "TEXT J TL 0,15 0.3 0 Top left\n"
    "TEXT J BR 6,16 0.3 0 Bottom right\n"
    "MTEXT 10,10 0.3 0 TL 0 First paragraph\\PSecond paragraph\n"
    "LINE 30,0 31,1 \"\"\n"
    "BLOCK TAG 30,0 NUM \"Tag number\" T-1 30,1 0.25 \"\" 30.5,0.5 \"\"\n"
    "INSERT TAG 20,0 1 0 \"T 42\"\n"
    "DIMLINEAR 0,0 10,0 5,-2\n"
    "DIMLINEAR 0,0 0,4 T Height -2,2\n"
    "DIMALIGNED 0,2 4,4 T \"Along <>\" 1,5\n"
    "LEADER 6,6 8,8 \"\" Mtext 0.2 Look here\n"
    "LEADER 16,6 18,8 \"\" Block TAG \"T 7\"\n"
    "IMAGE photo.png 20,5 4 0\n"
    "TILEMODE 0\n"
    "MVIEW 0,0 8,6\n"
    "TEXT 1,7 0.3 0 Paper note\n";

const char* const kEveryText[] = {"Left &lt;b&gt; &amp; &apos;q&apos;",
                                  "Middle centre",
                                  "Aligned",
                                  "Fitted",
                                  "Right",
                                  "Top left",
                                  "Bottom right",
                                  "First paragraph",
                                  "Second paragraph",
                                  "T 42",
                                  "T 7",
                                  "10.0000",
                                  "Height",
                                  "Along 4.4721",
                                  "Look here",
                                  "Paper note"};

TEST(SvhostDrafting, EveryKindSurvivesSaveAndReopenAndIsPlotted) {
    if (!havePython())
        GTEST_SKIP() << "python3 is needed to parse the SVG";
    const std::string drawing = testing::TempDir() + "every_kind.svd";
    const std::string svg = testing::TempDir() + "every_kind.svg";
    const std::string model = testing::TempDir() + "every_kind_model.svg";
    std::remove(svg.c_str());
    TempScript script("every_kind.scr", std::string(kEveryKind) +
                                            "LIST ALL \"\"\n"
                                            "PLOT Paper " +
                                            svg +
                                            "\n"
                                            "TILEMODE 1\n"
                                            "LIST ALL \"\"\n"
                                            "TILEMODE 0\n"
                                            "SAVEAS " +
                                            drawing +
                                            "\n"
                                            "CLOSE\n"
                                            "OPEN " +
                                            drawing +
                                            "\n"
                                            "LIST ALL \"\"\n"
                                            "TILEMODE 1\n"
                                            "LIST ALL \"\"\n"
                                            "PLOT Current " +
                                            model + "\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;

    const std::vector<std::string> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 4u) << run.output;
    // Paper space, then model space, before and after the drawing went through its file.
    EXPECT_EQ(lists[0], lists[2]);
    EXPECT_EQ(lists[1], lists[3]);
    EXPECT_TRUE(contains(lists[0], "VIEWPORT")) << lists[0];
    EXPECT_TRUE(contains(lists[0], "\"Paper note\"")) << lists[0];
    for (const char* kind : {"LWPOLYLINE", "CIRCLE", "ARC", "ELLIPSE", "REGION", "TEXT", "MTEXT",
                             "INSERT", "DIMENSION", "LEADER", "IMAGE",
                             "attribute:        NUM = \"T 42\"", "annotation:       handle"})
        EXPECT_TRUE(contains(lists[1], kind)) << kind << "\n" << lists[1];
    // The line went into the block with the block's definition.
    EXPECT_TRUE(contains(run.output, "Block TAG defined with 1 object(s) and 1 attribute"));

    const std::string svgText = readFile(svg);
    for (const char* text : kEveryText)
        EXPECT_TRUE(contains(svgText, text)) << text;
    const std::string parsed = svgTexts(svg);
    EXPECT_FALSE(contains(parsed, "PARSE ERROR")) << parsed;
    EXPECT_TRUE(contains(parsed, "Left <b> & 'q'\n")) << parsed;
    EXPECT_TRUE(contains(parsed, "Along 4.4721\n")) << parsed;
    // The model plot has the model's texts and not the paper's.
    const std::string modelTexts = svgTexts(model);
    EXPECT_TRUE(contains(modelTexts, "Look here\n")) << modelTexts;
    EXPECT_FALSE(contains(modelTexts, "Paper note")) << modelTexts;
    std::remove(drawing.c_str());
    std::remove(svg.c_str());
    std::remove(model.c_str());
}

TEST(SvhostDrafting, PlotPlacesShapesWithTheYAxisUpAndInTheirColours) {
    const std::string svg = testing::TempDir() + "shapes.svg";
    TempScript script("shapes.scr", "ARC C 0,0 1 0 90\n"
                                    "PLINE 0,0 2,0 B 1 2,2 \"\"\n"
                                    "CIRCLE 5,5 1\n"
                                    "CHPROP 5,6 \"\" Color red\n"
                                    "TEXT 1,3 0.5 90 Up\n"
                                    "PLOT Model " +
                                        svg + "\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string text = readFile(svg);
    // Counter-clockwise in the drawing: the negative sweep once y points down.
    EXPECT_TRUE(contains(text, "d=\"M1,0 A1,1 0 0 0 0,-1\"")) << text;
    EXPECT_TRUE(contains(text, "d=\"M0,0 L2,0 A1,1 0 0 0 2,-2\"")) << text;
    EXPECT_TRUE(contains(text, "cx=\"5\" cy=\"-5\" r=\"1\" stroke=\"#FF0000\"")) << text;
    EXPECT_TRUE(contains(text, "transform=\"rotate(-90 1 -3)\"")) << text;
    EXPECT_TRUE(contains(text, "viewBox=\"")) << text;
    std::remove(svg.c_str());
}

TEST(SvhostDrafting, BadAnswersStopTheScriptAtTheirLine) {
    struct Case {
        const char* script;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"LINE 0,0\n5,x\n\"\"\n", 2, "Bad point \"5,x\""},
        {"LINE 0,0 1,1 \"\"\nCIRCLE 1,1 -2\n", 2, "Bad radius"},
        {"CIRCLE 0,0 1e999\n", 1, "Bad radius"},
        {"PLINE 0,0 1,0 Q\n", 1, "Bad point \"Q\""},
        {"TEXT J Sideways 0,0\n", 1, "Unknown option \"Sideways\""},
        {"TEXT 0,0 0.2 0\n\n", 2, "A text is required."},
        {"MTEXT 0,0 0 0\n", 1, "The value must be positive"},
        {"INSERT NOSUCH 0,0\n", 1, "There is no block NOSUCH."},
        {"BLOCK \"a*b\" 0,0\n", 1, "not a valid block name"},
        {"MOVE 50,50 \"\" 0,0 1,1\n", 1, "Nothing was selected."},
        {"MSPACE\n", 1, "TILEMODE is 1"},
        {"TILEMODE 0\nMSPACE\n", 2, "no viewport that is on"},
        {"MVIEW 0,0 1,1\n", 1, "set TILEMODE to 0"},
        {"CIRCLE 0,0 1\nCHPROP 0,1 \"\" Color purple\n", 2, "Bad colour \"purple\""},
        {"ARC 0,0 1,1 2,2\n", 1, "lie on one line"},
        {"LINE 0,0 ^C\n", 1, "*Cancel*"},
        {"LINE 0,0\n", 1, "*Cancel*"},
        {"PLOT Nowhere x.svg\n", 1, "no layout or block Nowhere"},
        {"LINE 0,0 1,0 \"\"\nPLOT Model /no/such/folder/x.svg\n", 2, "Cannot write"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "bad" + std::to_string(++n) + ".scr";
        TempScript script(name, c.script);
        ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
        EXPECT_EQ(run.status, 1) << c.script << run.output;
        EXPECT_TRUE(contains(run.output, name + ":" + std::to_string(c.line) + ":"))
            << c.script << run.output;
        EXPECT_TRUE(contains(run.output, c.message)) << c.script << run.output;
    }
}

TEST(SvhostDrafting, HostileTextsAreKeptAndEscaped) {
    const std::string svg = testing::TempDir() + "hostile.svg";
    std::string longText(5000, 'x');
    TempScript script("hostile.scr", "TEXT 0,0 0.2 0 </text><script>&amp;\x01]]>\n"
                                     "MTEXT 0,2 0.2 0 TL 0 {\\H9999x;" +
                                         longText +
                                         "}\\P\\\n"
                                         "PLOT Model " +
                                         svg + "\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string text = readFile(svg);
    EXPECT_TRUE(contains(text, "&lt;/text&gt;&lt;script&gt;&amp;amp; ]]&gt;")) << text;
    EXPECT_FALSE(contains(text, "<script>"));
    if (havePython()) {
        EXPECT_FALSE(contains(svgTexts(svg), "PARSE ERROR"));
    }
    std::remove(svg.c_str());
}

TEST(SvhostEditing, CommandsChangeGeometryTextsAndColours) {
    TempScript script("edit.scr", "CIRCLE 5,5 1\n"
                                  "MOVE #5 \"\" 0,0 1,1\n"
                                  "SCALE #5 \"\" 0,0 2\n"
                                  "LINE 0,0 10,0 \"\"\n"
                                  "ROTATE #6 \"\" 0,0 90\n"
                                  "PLINE 0,0 4,0 4,4 \"\"\n"
                                  "VERTEX #7 4.2,0.1 @1,-1\n"
                                  "TEXT 20,0 0.2 0 Before\n"
                                  "CHTEXT #8 \"After all\"\n"
                                  "CHPROP #8 \"\" Color 3\n"
                                  "COPY #8 \"\" 0,0 0,5\n"
                                  "BLOCK B 0,0 T P D 0,0 0.2 \"\" \"\"\n"
                                  "INSERT B 30,0 1 0 V1\n"
                                  "CHTEXT 30,0 T V2\n"
                                  "ERASE #5 \"\"\n"
                                  "LIST ALL \"\"\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string list = listing(run.output, run.output.find("object(s) erased."));
    EXPECT_FALSE(contains(list, "CIRCLE")) << list;
    EXPECT_TRUE(contains(list, "from point:       X=0.0000  Y=0.0000")) << list;
    EXPECT_TRUE(contains(list, "to point:         X=0.0000  Y=10.0000")) << list;
    EXPECT_TRUE(contains(list, "at point          X=5.0000  Y=-1.0000")) << list;
    EXPECT_TRUE(contains(list, "\"After all\"")) << list;
    EXPECT_EQ(count(list, "\"After all\""), 2u) << list;
    EXPECT_EQ(count(list, "Color:            3"), 2u) << list;
    EXPECT_TRUE(contains(list, "T = \"V2\"")) << list;
    EXPECT_TRUE(contains(run.output, "1 object(s) erased.")) << run.output;
}

TEST(SvhostDrafting, OptionsOfTheDrawingCommands) {
    TempScript script("options.scr", "LINE 0,0 1,0 U 2,0 2,2 C\n"
                                     "PLINE 10,0 11,0 12,0 U B -1 12,0 \"\"\n"
                                     "TEXT J Right 6,14 0.3 0 Right\n"
                                     "TEXT J BC 6,16 0.3 0 Bottom\n"
                                     "CIRCLE 30,0 D 4\n"
                                     "LINE 40,0 41,0 \"\"\n"
                                     "REGION 32,0 41,0 \"\"\n"
                                     "BLOCK B 0,0 T P D 0,0 0.2 \"\" \"\"\n"
                                     "INSERT B 50,0 2 90 Copied\n"
                                     "COPY 50,0 \"\" 0,0 10,0\n"
                                     "LIST ALL \"\"\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string list = listing(run.output, run.output.find("INSERT"));
    // Undo took back the segment to 1,0; Close ran back to the first point.
    EXPECT_TRUE(contains(list, "from point:       X=0.0000  Y=0.0000  Z=0.0000\n"
                               "    to point:         X=2.0000  Y=0.0000"))
        << list;
    EXPECT_TRUE(contains(list, "from point:       X=2.0000  Y=2.0000  Z=0.0000\n"
                               "    to point:         X=0.0000  Y=0.0000"))
        << list;
    EXPECT_FALSE(contains(list, "X=1.0000  Y=0.0000")) << list;
    EXPECT_TRUE(contains(list, "bulge           -1.0000")) << list;
    EXPECT_TRUE(contains(list, "justification:    Right Baseline")) << list;
    EXPECT_TRUE(contains(list, "justification:    Center Bottom")) << list;
    // The circle became a region; the open line was left alone.
    EXPECT_TRUE(contains(list, "REGION")) << list;
    EXPECT_FALSE(contains(list, "CIRCLE")) << list;
    EXPECT_TRUE(contains(list, "from point:       X=40.0000")) << list;
    // The copy of an insertion has attributes of its own, with the same values.
    EXPECT_EQ(count(list, "T = \"Copied\""), 2u) << list;
    EXPECT_EQ(count(list, "rotation angle:   90.0000"), 2u) << list;
}

// The host's own options match as the editor's prompts do: capitals, or any longer prefix.
TEST(SvhostDrafting, OptionsTakeAbbreviationsAndPrefixes) {
    TempScript script("prefixes.scr", "LINE 0,0 1,0 1,1 clo\n"
                                      "CIRCLE 30,0 DIAM 4\n"
                                      "TEXT jus ri 6,14 0.3 0 Right\n"
                                      "LIST ALL \"\"\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string list = listing(run.output, run.output.find(" found\n"));
    EXPECT_TRUE(contains(list, "from point:       X=1.0000  Y=1.0000  Z=0.0000\n"
                               "    to point:         X=0.0000  Y=0.0000"))
        << list;
    EXPECT_TRUE(contains(list, "radius:           2.0000")) << list;
    EXPECT_TRUE(contains(list, "justification:    Right Baseline")) << list;

    TempScript wrong("ambiguous.scr", "CIRCLE 30,0 Dx 4\n");
    run = runProgram("svhost", "'" + wrong.path() + "'");
    EXPECT_EQ(run.status, 1) << run.output;
}

TEST(SvhostEditing, RefusedChangesAreReportedAndStopTheScript) {
    TempScript script("refused.scr", "TILEMODE 0\n"
                                     "MVIEW 0,0 4,4\n"
                                     "LINE 10,10 12,10 \"\"\n"
                                     "ROTATE ALL \"\" 0,0 45\n"
                                     "LINE 0,0 1,1 \"\"\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "cannot be rotated")) << run.output;
    EXPECT_TRUE(contains(run.output, "1 object(s) rotated.")) << run.output;
    EXPECT_TRUE(contains(run.output, "refused.scr:4:")) << run.output;
}

// A bad answer is asked again at the terminal, so the command goes on with the next one.
TEST(SvhostEditing, AnInteractiveSessionShowsPromptsAndGoesOnAfterABadAnswer) {
    TerminalSession session;
    ASSERT_TRUE(session.waitFor("Command: ")) << session.output();
    session.type("CIRCLE 1,1 x\n");
    ASSERT_TRUE(session.waitFor("Bad radius \"x\"")) << session.output();
    ASSERT_TRUE(session.waitFor("Radius or [Diameter]: ")) << session.output();
    session.type("2\nLIST 1,3\n\n");
    ASSERT_TRUE(session.waitFor("radius:           2.0000")) << session.output();
    session.type("CIRCLE\n");
    ASSERT_TRUE(session.waitFor("Center point: ")) << session.output();
    session.type("\x03");
    ASSERT_TRUE(session.waitFor("Command: ")) << session.output();
    session.type("QUIT\nN\n");
    EXPECT_EQ(session.exitStatus(), 0) << session.output();
}

TEST(SvhostEditing, MovesAreHeardOnceEachByAPersistentReactor) {
    TempScript script("watch.scr", "ARXLOAD " + binDir() +
                                       "/watch_module.arx\n"
                                       "CIRCLE 5,5 1\n"
                                       "LINE 20,20 30,20 \"\"\n"
                                       "WATCH #5\n"
                                       "MOVE #5 #6 \"\" 0,0 1,0\n"
                                       "MOVE #6 \"\" 0,0 1,0\n"
                                       "MOVE #5 \"\" 0,0 0,1\n"
                                       "LIST #5 \"\"\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::size_t watching = run.output.find("[watch] watching");
    ASSERT_NE(watching, std::string::npos) << run.output;
    const std::string afterWatch = run.output.substr(watching);
    EXPECT_EQ(count(afterWatch, "[watch] modified 5\n"), 2u) << run.output;
    EXPECT_EQ(count(afterWatch, "[watch] modified"), 2u) << run.output;
    // LIST shows what list() does not: the extension dictionary entry and the reactor.
    EXPECT_TRUE(contains(afterWatch, "Extension dict:   1 entries")) << afterWatch;
    EXPECT_TRUE(contains(afterWatch, "SvTestWatcher")) << afterWatch;
    EXPECT_TRUE(contains(afterWatch, "Reactor:")) << afterWatch;
}

TEST(SvhostSpaces, LayoutViewportAndModelSpaceThroughIt) {
    const std::string svg = testing::TempDir() + "layout.svg";
    TempScript script("spaces.scr", "CIRCLE 0,0 10\n"
                                    "TEXT 0,0 1 0 Model text\n"
                                    "TILEMODE 0\n"
                                    "GETVAR CVPORT\n"
                                    "MVIEW 0,0 4,4\n"
                                    "MSPACE\n"
                                    "GETVAR CVPORT\n"
                                    "LINE 100,100 101,101 \"\"\n"
                                    "PSPACE\n"
                                    "LINE 100,100 101,101 \"\"\n"
                                    "LIST ALL \"\"\n"
                                    "PLOT Paper " +
                                        svg + "\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "CVPORT = 1")) << run.output;
    EXPECT_TRUE(contains(run.output, "CVPORT = 2")) << run.output;
    const std::string list = listing(run.output, run.output.find("Working on the layout"));
    // Working on paper, LIST sees the viewport and the second line only.
    EXPECT_EQ(count(list, "Paper space"), 2u) << list;
    EXPECT_FALSE(contains(list, "Model space")) << list;
    const std::string text = readFile(svg);
    // Model space shows through the viewport, clipped to it.
    EXPECT_TRUE(contains(text, "<clipPath id=\"vp1\">")) << text;
    EXPECT_TRUE(contains(text, ">Model text</text>")) << text;
    std::remove(svg.c_str());
}

TEST(SvhostHelp, EveryHostCommandHasASummary) {
    TempScript script("help.scr", "HELP\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0);
    for (const char* name :
         {"LINE",   "PLINE",     "CIRCLE",     "ARC",    "REGION",   "TEXT",  "MTEXT", "BLOCK",
          "INSERT", "DIMLINEAR", "DIMALIGNED", "LEADER", "IMAGE",    "MVIEW", "MOVE",  "COPY",
          "ROTATE", "SCALE",     "VERTEX",     "CHTEXT", "CHPROP",   "ERASE", "LIST",  "MSPACE",
          "PSPACE", "TILEMODE",  "PLOT",       "SAVEAS", "MENULOAD", "UNDO",  "U",     "REDO"}) {
        const std::string line =
            "\n  " + std::string(name) + std::string(12 - std::string(name).size(), ' ');
        const std::size_t at = run.output.find(line);
        ASSERT_NE(at, std::string::npos) << name << run.output;
        // A summary follows the name on its line.
        EXPECT_GT(run.output.find('\n', at + 1) - at, line.size() + 5) << name;
    }
}

TEST(SvhostExamples, DraftingExampleRunsAndPlots) {
    const std::string folder = testing::TempDir() + "example_run";
    const ProgramRun run = runCommand("mkdir -p '" + folder + "' && cd '" + folder + "' && '" +
                                      binDir() + "/svhost' '" SV_EXAMPLES_DIR "/drafting.scr'");
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string svg = readFile(folder + "/drafting.svg");
    for (const char* text : {"Room 1 (kitchen)", "Ground floor", "Door A", "Entrance", "Column",
                             "Span 6.0000", "40.0000", ">All dimensions in<", ">metres<"})
        EXPECT_TRUE(contains(svg, text)) << text;
    EXPECT_TRUE(contains(readFile(folder + "/drafting-layout.svg"), "Sheet 1 - Ground floor"));
}

} // namespace
