#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gui_frames.h"
#include "gui_session.h"

namespace {

using guitest::Box;
using guitest::boxOf;
using guitest::colourBox;
using guitest::colourWords;
using guitest::darkBox;
using guitest::darkestRow;
using guitest::GuiSession;
using guitest::keywordBlue;
using guitest::kTitleBar;
using guitest::kViewHeight;
using guitest::listedDrawing;
using guitest::Picture;
using guitest::selectionBlue;
using guitest::shellQuoted;
using guitest::VirtualDisplay;
using guitest::writeScript;

using guitest::kCommandLineX;
using guitest::kCommandLineY;

bool anyPixel(const Picture& frame, const Box& box, bool (*wanted)(std::uint32_t)) {
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
            if (wanted(frame.at(x, y)))
                return true;
    return false;
}

bool reddish(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) > 150 && ((rgb >> 8) & 0xFF) < 90 && (rgb & 0xFF) < 90;
}

constexpr std::uint32_t kLinkBlue = 0x0000EE;
constexpr std::uint32_t kTooltipBack = 0xFFFFE1;

// The push buttons along a dialog's bottom, left to right: the wide light runs that follow a
// dark frame on a row below their labels.
std::vector<Box> bottomButtons(const Picture& frame, const Box& dialog) {
    std::vector<Box> buttons;
    const int y = dialog.bottom - 17;
    // The shadow of a button's right edge is dark grey.
    auto edge = [&](int x) { return (frame.at(x, y) & 0xFF) < 110; };
    for (int x = dialog.left + 1; x <= dialog.right; ++x) {
        if (!edge(x - 1) || edge(x))
            continue;
        int end = x;
        while (end <= dialog.right && !edge(end))
            ++end;
        if (end - x > 40 && end <= dialog.right) {
            Box button;
            button.left = x;
            button.right = end - 1;
            button.top = button.bottom = y;
            buttons.push_back(button);
        }
        x = end;
    }
    return buttons;
}

TEST(GuiWithoutDisplay, SaysSoInOneLineWithStatusTwo) {
    const ProgramRun unset = runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" +
                                        binDir() + "/svhost' --gui");
    EXPECT_EQ(unset.status, 2);
    EXPECT_EQ(unset.output,
              "svhost: --gui needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n");

    // A display named but not there: SDL's reason, still one line.
    const ProgramRun absent = runCommand(
        "env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:987 '" + binDir() + "/svhost' --gui");
    EXPECT_EQ(absent.status, 2);
    EXPECT_EQ(absent.output.rfind("svhost: --gui needs a display: ", 0), 0u) << absent.output;
    EXPECT_EQ(guitest::countOf(absent.output, "\n"), 1u) << absent.output;
}

class Gui : public testing::Test {
protected:
    VirtualDisplay display;
    std::string folder =
        testing::TempDir() + "gui_" + testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(Gui, TypedCommandsDrawAndTheViewZoomsAndPans) {
    GuiSession gui(display, folder, "");
    ASSERT_TRUE(gui.ready());
    gui.enter("CIRCLE 0,0 10");
    ASSERT_TRUE(gui.waitFor("created."));
    ASSERT_TRUE(gui.waitFor("Command: ", 2));

    // The view keeps the extents in sight: the circle fills its height, centred.
    const Picture fitted = gui.frame();
    ASSERT_EQ(fitted.width, 1024);
    const Box circle = darkBox(fitted, 0, kViewHeight);
    ASSERT_FALSE(circle.empty());
    EXPECT_NEAR(circle.centreX(), 512, 3);
    EXPECT_NEAR(circle.centreY(), kViewHeight / 2, 3);
    EXPECT_NEAR(circle.bottom - circle.top, kViewHeight / 1.1, 6);

    // The wheel zooms about the pointer: over the centre the circle grows about it.
    gui.moveTo(512, kViewHeight / 2);
    gui.xdotool("click 4");
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture closer = gui.frame();
    const Box bigger = darkBox(closer, 0, kViewHeight);
    EXPECT_NEAR(bigger.right - bigger.left, (circle.right - circle.left) * 1.25, 8);
    EXPECT_NEAR(bigger.centreX(), 512, 3);

    // An arrow key pans by an eighth of the view; Home brings the extents back.
    gui.key("Left");
    const Box panned = darkBox(gui.frame(), 0, kViewHeight);
    EXPECT_NEAR(panned.left - bigger.left, kViewHeight / 8, 2);
    gui.key("Home");
    const Box back = darkBox(gui.frame(), 0, kViewHeight);
    EXPECT_EQ(back.left, circle.left);
    EXPECT_EQ(back.right, circle.right);

    // A smaller window: the frame takes its size and the view refits above the command line.
    gui.xdotool("windowsize " + gui.window() + " 800 600");
    Picture small;
    ASSERT_TRUE(guitest::waitUntil([&] {
        small = gui.frame();
        return small.width == 800 && small.height == 600;
    }));
    const int smallView = 600 - (768 - kViewHeight);
    const Box refitted = darkBox(small, 0, smallView);
    EXPECT_NEAR(refitted.centreX(), 400, 3);
    EXPECT_NEAR(refitted.centreY(), smallView / 2, 3);
    EXPECT_NEAR(refitted.bottom - refitted.top, smallView / 1.1, 6);

    gui.moveTo(400, 560);
    gui.enter("QUIT");
    ASSERT_TRUE(gui.waitFor("Save changes to Drawing1.svd?"));
    gui.enter("N");
    EXPECT_EQ(gui.exitStatus(), 0);
}

// A length style made by the script through the style manager's form, then the window.
const std::string kLinkSetup = std::string(R"(ARXLOAD SentavellUi17.arx
LINE 0,0 8,0 ""
TEXT 2,2 0.5 0 label
sv_stylemgr
)") + guitest::kNewLengthStyle +
                               "click OK\n";

TEST_F(Gui, PointerLinksALineToATextLikeTheTypedSession) {
    GuiSession gui(display, folder, shellQuoted(writeScript("gui_link.scr", kLinkSetup)));
    ASSERT_TRUE(gui.ready());
    const Picture before = gui.frame();
    const int lineRow = darkestRow(before);
    ASSERT_GT(lineRow, 0);
    const Box text = darkBox(before, 0, lineRow - 3);
    ASSERT_FALSE(text.empty());

    gui.enter("sv_linkcreate");
    ASSERT_TRUE(gui.waitFor("Select the source object"));
    gui.click(512, lineRow);
    ASSERT_TRUE(gui.waitFor("Select the label"));
    gui.click(text.centreX(), text.centreY());
    ASSERT_TRUE(gui.waitFor("Command: ", 2));

    // The label now reads the line's length, and the view shows the new text.
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture after = gui.frame();
    EXPECT_GT(after.differences(before, 0, 0, after.width, lineRow - 3), 20);
    const Box label = darkBox(after, 0, lineRow - 3);
    // "8.00 m" is a character longer than "label" in the same height (the view may refit).
    const double wideBefore = double(text.right - text.left) / (text.bottom - text.top);
    const double wideAfter = double(label.right - label.left) / (label.bottom - label.top);
    EXPECT_GT(wideAfter, wideBefore * 1.1);

    gui.enter("SAVEAS pointer.svd");
    ASSERT_TRUE(gui.waitFor("Saved pointer.svd."));
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);

    // The same session typed gives a drawing that lists the same.
    const std::string typed =
        kLinkSetup + "sv_linkcreate\n4,0\n2.5,2.2\n" + "SAVEAS \"" + folder + "/typed.svd\"\n";
    const ProgramRun made = runProgram("svhost", shellQuoted(writeScript("gui_typed.scr", typed)));
    ASSERT_EQ(made.status, 0) << made.output;
    const std::string byPointer = listedDrawing(folder + "/pointer.svd");
    EXPECT_NE(byPointer.find("text:             \"8.00 m\""), std::string::npos) << byPointer;
    EXPECT_NE(byPointer.find("link:     style \"Length\", label TEXT"), std::string::npos);
    EXPECT_EQ(byPointer, listedDrawing(folder + "/typed.svd"));
}

// An easting style made through the style manager's form, and a circle's X linked to a text.
const char* const kEastingSetup = R"(ARXLOAD SentavellUi17.arx
CIRCLE 2,2 0.5
TEXT 4,4 0.5 0 label
sv_stylemgr
rclick 2000
click 32771
type 2003 Easting
type 2006 "X of a circle into a text"
choose 2008 "X coordinate"
choose 2007 "Text modifier"
type 2009 "E %PROPERTY"
click OK
click OK
sv_linkcreate
2.5,2
4.5,4.2
)";

// The text after `key` on its line of the transcript.
std::string valueAfter(const std::string& output, const std::string& key) {
    const std::size_t at = output.rfind(key);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + key.size();
    return output.substr(start, output.find_first_of(" \"\n", start) - start);
}

TEST_F(Gui, MovingASourceWithThePointerRewritesItsLabelAtOnce) {
    GuiSession gui(display, folder, shellQuoted(writeScript("gui_move.scr", kEastingSetup)));
    ASSERT_TRUE(gui.ready());
    const Picture before = gui.frame();
    const Box all = darkBox(before, 0, kViewHeight);
    ASSERT_FALSE(all.empty());
    // The circle is the left quarter of the picture, the text the rest.
    const Box circle = boxOf(before, Picture::dark, all.left, 0,
                             all.left + (all.right - all.left) / 4, kViewHeight);
    ASSERT_FALSE(circle.empty());

    gui.enter("MOVE");
    ASSERT_TRUE(gui.waitFor("Select objects: "));
    gui.click(circle.left, circle.centreY());
    ASSERT_TRUE(gui.waitFor("1 found"));
    gui.key("Return");
    ASSERT_TRUE(gui.waitFor("Base point: "));
    gui.click(circle.centreX(), circle.centreY());
    ASSERT_TRUE(gui.waitFor("Second point: "));
    gui.click(circle.centreX() + (circle.right - circle.left), circle.centreY());
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 2));

    // The label has its new text in the view as soon as the command is done.
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture after = gui.frame();
    EXPECT_GT(after.differences(before, circle.right + 10, 0, 1024, circle.top), 20);

    gui.enter("LIST #5");
    gui.key("Return");
    gui.enter("LIST #6");
    gui.key("Return");
    ASSERT_TRUE(gui.waitFor("listed.", 2));
    const std::string output = gui.output();
    const std::string easting = valueAfter(output, "text:             \"E ");
    const std::string centre = valueAfter(output, "center point:     X=");
    EXPECT_FALSE(easting.empty()) << output;
    EXPECT_EQ(easting, centre);
    EXPECT_NE(easting, "2.0000");
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);
}

TEST_F(Gui, TheSampleSessionRunsInTheWindowAsAtTheTerminal) {
    const std::string script = std::string(SV_EXAMPLES_DIR) + "/live_labels.scr";
    const std::string terminal = folder + "_terminal";
    runCommand("rm -rf '" + terminal + "' && mkdir -p '" + terminal + "'");
    const ProgramRun typed =
        runCommand("cd '" + terminal + "' && '" + binDir() + "/svhost' '" + script + "'");
    ASSERT_EQ(typed.status, 0) << typed.output;

    GuiSession gui(display, folder, "'" + script + "'");
    ASSERT_TRUE(gui.ready(150.0));
    // The session's last drawing is in the view.
    EXPECT_FALSE(darkBox(gui.frame(), 0, kViewHeight).empty());
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);
    const std::string inWindow = listedDrawing(folder + "/session.svd");
    EXPECT_NE(inWindow.find("Kitchen"), std::string::npos) << inWindow;
    EXPECT_EQ(inWindow, listedDrawing(terminal + "/session.svd"));
}

TEST_F(Gui, SelectionTakesWindowAndCrossingDragsAndKeywordsTakeClicks) {
    GuiSession gui(display, folder, "");
    ASSERT_TRUE(gui.ready());
    gui.enter("CIRCLE 2,2 1");
    gui.enter("CIRCLE 8,2 1");
    gui.enter("LINE 0,6 10,6 \"\"");
    ASSERT_TRUE(gui.waitFor("LINE 7 created."));
    const Picture drawn = gui.frame();
    const int lineRow = darkestRow(drawn);
    const Box leftCircle = colourBox(drawn, 0, 0, lineRow + 3, 512, kViewHeight);
    const Box rightCircle = colourBox(drawn, 0, 512, lineRow + 3, 1024, kViewHeight);
    ASSERT_FALSE(leftCircle.empty());
    ASSERT_FALSE(rightCircle.empty());

    gui.enter("ERASE");
    ASSERT_TRUE(gui.waitFor("Select objects: "));
    // Left to right: a window, which takes what lies wholly inside.
    gui.drag(leftCircle.left - 10, leftCircle.top - 10, leftCircle.right + 10,
             leftCircle.bottom + 10);
    ASSERT_TRUE(gui.waitFor("1 found"));
    // Right to left: a crossing, which takes what it touches.
    gui.drag(rightCircle.centreX(), rightCircle.centreY(), leftCircle.centreX(),
             leftCircle.centreY() + 2);
    ASSERT_TRUE(gui.waitFor("2 found"));
    gui.moveTo(kCommandLineX, kCommandLineY);
    gui.key("Return");
    ASSERT_TRUE(gui.waitFor("Command: ", 5));
    // The line was never taken: it is all that is left.
    gui.enter("LIST ALL");
    gui.key("Return");
    ASSERT_TRUE(gui.waitFor("listed."));
    EXPECT_NE(gui.output().find("1 object(s) listed."), std::string::npos);

    // The keywords of a prompt are clicked where they are written.
    gui.enter("QUIT");
    ASSERT_TRUE(gui.waitFor("[Yes/No/Cancel]"));
    const Picture asking = gui.frame();
    const std::vector<Box> words = colourWords(asking, keywordBlue, kViewHeight, 768);
    ASSERT_EQ(words.size(), 3u);
    gui.click(words[1].centreX(), words[1].centreY());
    EXPECT_EQ(gui.exitStatus(), 0);
    EXPECT_NE(gui.output().find("[Yes/No/Cancel] <Yes>: No"), std::string::npos);
    EXPECT_FALSE(std::ifstream(folder + "/Drawing1.svd").good());
}

TEST_F(Gui, ClosingTheWindowAtAPromptCancelsTheCommandAndWritesNothing) {
    GuiSession gui(display, folder, "");
    ASSERT_TRUE(gui.ready());
    gui.enter("CIRCLE 0,0 1");
    ASSERT_TRUE(gui.waitFor("created."));
    gui.enter("LINE 0,0 5,5");
    ASSERT_TRUE(gui.waitFor("Command: LINE 0,0 5,5"));
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);
    const std::string output = gui.output();
    EXPECT_NE(output.find("*Cancel*"), std::string::npos) << output;
    EXPECT_NE(output.find("The changes to Drawing1.svd are not saved."), std::string::npos);
    EXPECT_FALSE(std::ifstream(folder + "/Drawing1.svd").good());
}

TEST_F(Gui, ClosingTheWindowInADialogCancelsIt) {
    GuiSession gui(display, folder, "--load SentavellUi17.arx");
    ASSERT_TRUE(gui.ready());
    const Picture empty = gui.frame();
    gui.enter("sv_stylemgr");
    // The dialog shows over the drawing.
    ASSERT_TRUE(guitest::waitUntil(
        [&] { return gui.frame().differences(empty, 0, 0, 1024, kViewHeight) > 1000; }));
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);
    EXPECT_FALSE(std::ifstream(folder + "/Drawing1.svd").good());
}

TEST_F(Gui, DialogsTakeThePointer) {
    const std::string setup = kLinkSetup + R"(sv_stylemgr
rclick 2000
click 32771
type 2003 Width
type 2006 "Another length"
choose 2008 Length
choose 2007 "Text modifier"
type 2009 "%PROPERTY"
click OK
click OK
sv_linkcreate
4,0
2.5,2.2
)";
    GuiSession gui(display, folder, shellQuoted(writeScript("gui_dialogs.scr", setup)));
    ASSERT_TRUE(gui.ready());
    gui.enter("sv_stylemgr");
    Picture manager;
    ASSERT_TRUE(guitest::waitUntil([&] {
        manager = gui.frame();
        return manager.at(5, 5) == kTitleBar;
    }));
    Box dialog = colourBox(manager, kTitleBar, 0, 0, 1024, 40);
    dialog.bottom = dialog.top;
    while (dialog.bottom < kViewHeight &&
           manager.at(dialog.left + 2, dialog.bottom + 1) != 0xFFFFFF)
        ++dialog.bottom;

    // The first style is selected; a click on the second moves the selection, and the first,
    // which a link uses, shows in red.
    Box selected;
    selected.top = dialog.top;
    while (selected.top < dialog.bottom &&
           !selectionBlue(manager.at(dialog.right - 20, selected.top)))
        ++selected.top;
    ASSERT_LT(selected.top, dialog.bottom);
    selected.bottom = selected.top;
    while (selectionBlue(manager.at(dialog.right - 20, selected.bottom + 1)))
        ++selected.bottom;
    selected.left = dialog.left + 12;
    selected.right = dialog.right - 12;
    const int rowHeight = selected.bottom - selected.top + 1;
    gui.click(dialog.left + 30, selected.centreY() + rowHeight);
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture moved = gui.frame();
    // The README shows this frame.
    std::filesystem::copy_file(gui.lastFramePath(), SV_GUI_SCREENSHOT,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(anyPixel(moved, selected, reddish));
    EXPECT_FALSE(selectionBlue(moved.at(dialog.right - 20, selected.centreY())));
    EXPECT_TRUE(selectionBlue(moved.at(dialog.right - 20, selected.centreY() + rowHeight)));

    // A right click on the list selects the row under it and brings up the list's menu over
    // the dialog; Esc takes it away.
    gui.click(dialog.left + 30, selected.centreY(), 3);
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture menu = gui.frame();
    EXPECT_GT(menu.differences(manager, dialog.left + 30, selected.bottom, dialog.right,
                               selected.bottom + 60),
              100);
    gui.key("Escape");
    const auto dialogChanges = [&](const Picture& from) {
        gui.moveTo(kCommandLineX, kCommandLineY);
        return gui.frame().differences(from, dialog.left, dialog.top, dialog.right, dialog.bottom);
    };
    EXPECT_EQ(dialogChanges(manager), 0);

    // A double click on a style opens it in the style editor over the manager; Esc closes it.
    // The click that comes first lands away from the row's earlier click, which a fast machine
    // would otherwise pair with it as a double click.
    gui.click(dialog.left + 120, selected.centreY() + rowHeight);
    const Picture second = gui.frame();
    gui.moveTo(dialog.left + 30, selected.centreY() + rowHeight);
    gui.xdotool("click --repeat 2 --delay 60 1");
    EXPECT_TRUE(guitest::waitUntil([&] { return dialogChanges(second) > 1000; }));
    gui.key("Escape");
    EXPECT_TRUE(guitest::waitUntil([&] { return dialogChanges(second) == 0; }));

    // OK, pressed with the pointer, closes the manager and ends the command.
    const std::vector<Box> buttons = bottomButtons(moved, dialog);
    ASSERT_EQ(buttons.size(), 3u);
    gui.click(buttons[0].centreX(), buttons[0].centreY());
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 2));
    gui.moveTo(kCommandLineX, kCommandLineY);
    EXPECT_NE(gui.frame().at(5, 5), kTitleBar);

    // The about box's link takes the hover colour under the pointer.
    gui.enter("sv_about");
    Picture about;
    ASSERT_TRUE(guitest::waitUntil([&] {
        about = gui.frame();
        return about.at(5, 5) == kTitleBar;
    }));
    const Box link = colourBox(about, kLinkBlue, 0, 0, 1024, kViewHeight);
    ASSERT_FALSE(link.empty());
    gui.moveTo(link.centreX(), link.centreY());
    gui.moveTo(link.centreX() + 1, link.centreY());
    const Picture hovered = gui.frame();
    EXPECT_TRUE(colourBox(hovered, kLinkBlue, 0, 0, 1024, kViewHeight).empty());
    EXPECT_GT(hovered.differences(about, link.left, link.top, link.right + 1, link.bottom + 1), 10);

    // Resting there, the pointer brings up the link's tooltip.
    EXPECT_TRUE(guitest::waitUntil(
        [&] { return !colourBox(gui.frame(), kTooltipBack, 0, 0, 1024, kViewHeight).empty(); },
        5.0));

    // The box follows its title bar.
    const Box bar = colourBox(about, kTitleBar, 0, 0, 1024, 40);
    gui.drag(bar.left + 40, bar.centreY(), bar.left + 240, bar.centreY() + 150);
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture dragged = gui.frame();
    EXPECT_NE(dragged.at(bar.left + 20, bar.centreY()), kTitleBar);
    EXPECT_EQ(dragged.at(bar.right + 190, bar.centreY() + 150), kTitleBar);
    const Box movedLink = colourBox(dragged, kLinkBlue, 0, 0, 1024, kViewHeight);
    EXPECT_EQ(movedLink.left, link.left + 200);
    EXPECT_EQ(movedLink.top, link.top + 150);
    gui.key("Escape");
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 3));
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);
}

} // namespace
