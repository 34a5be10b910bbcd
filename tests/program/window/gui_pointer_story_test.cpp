#include <gtest/gtest.h>

#include <cstdio>

#include "dialog_layout.h"
#include "gui_frames.h"
#include "gui_session.h"

namespace {

using namespace guitest;

const std::string kEditorScript = std::string(SV_RESOURCES_DIR) + "/StyleEditor.rc";
const std::string kManagerScript = std::string(SV_RESOURCES_DIR) + "/StyleManager.rc";

// The geometry is drafted at the command line, as users do.
const char* const kGeometry[] = {"ARXLOAD SentavellUi17.arx", "LINE 0,-1 10,-1 \"\"",
                                 "TEXT 4.5,-1.6 0.3 0 ?"};

// The lists of the style editor are sorted by what they show.
const char* const kReaders[] = {"Area",         "Length",       "Text",
                                "X coordinate", "Y coordinate", "Z coordinate"};
const char* const kModifiers[] = {"Block modifier",  "Color modifier", "Dimension modifier",
                                  "Leader modifier", "MText modifier", "Text modifier"};

template <std::size_t N>
int rowOf(const char* const (&names)[N], const std::string& name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i])
            return static_cast<int>(i);
    return -1;
}

// What was answered to the prompt the nth time (from 1) it was asked, as the transcript shows.
std::string answerTo(const std::string& output, const std::string& prompt, int nth = 1) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < nth; ++i) {
        at = output.find(prompt, at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos)
            return {};
    }
    const std::size_t start = at + prompt.size();
    return output.substr(start, output.find('\n', start) - start);
}

class PointerStory : public testing::Test {
protected:
    VirtualDisplay display;
    std::string folder = testing::TempDir() + "gui_pointer_story";
    GuiSession gui{display, folder, ""};

    // Waits for the dialog of the template to be the topmost and measures it.
    DialogOnScreen dialogShown(const DialogTemplate& layout, const Picture& before) {
        Picture shown;
        waitUntil([&] {
            gui.moveTo(kCommandLineX, kCommandLineY);
            shown = gui.frame();
            return shown.differences(before, 0, 0, shown.width, kViewHeight) > 1000;
        });
        return measureDialog(shown, layout.size());
    }
    void clickCentre(const Box& box) { gui.click(box.centreX(), box.centreY()); }
    // Replaces an edit's text with what is typed.
    void typeInto(const Box& edit, const std::string& text) {
        clickCentre(edit);
        gui.key("End shift+Home");
        gui.type(text);
    }
    // Opens a drop-down list and clicks its row. The template's height is the list's; the field
    // and the rows are a line of the dialog's font high, the field with its frame.
    void chooseRow(const DialogOnScreen& dialog, const Box& combo, int row) {
        ASSERT_GE(row, 0);
        const int itemHeight = dialog.baseY + 2;
        const int listTop = combo.top + itemHeight + 4;
        gui.click(combo.centreX(), (combo.top + listTop) / 2);
        gui.click(combo.centreX(), listTop + 1 + row * itemHeight + itemHeight / 2);
    }
};

TEST_F(PointerStory, StylesLinksAndEditsByThePointerSaveWhatTheTypedSessionSaves) {
    ASSERT_TRUE(gui.ready());
    for (const char* line : kGeometry)
        gui.enter(line);
    ASSERT_TRUE(gui.waitFor(" created.", 2));
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 4));
    const Picture drawing = gui.frame();

    // The style manager: a right click on its list, New in the menu there.
    const DialogTemplate manager(kManagerScript, "IDD_STYLE_MANAGER");
    const DialogTemplate editor(kEditorScript, "IDD_STYLE_EDITOR");
    ASSERT_TRUE(manager.size().found && editor.size().found);
    gui.enter("sv_stylemgr");
    const DialogOnScreen managerShown = dialogShown(manager, drawing);
    ASSERT_GT(managerShown.baseY, 0);
    const Box list = managerShown.place(manager.control("IDC_STYLE_LIST"));
    const Picture managerFrame = gui.frame();
    gui.click(list.centreX(), list.top + 10, 3);
    gui.click(list.centreX() + 20, list.top + 10 + 2 + (managerShown.baseY + 6) / 2);

    // The editor opens at the manager's corner and shares its font.
    DialogOnScreen shown = dialogShown(editor, managerFrame);
    shown.baseX = managerShown.baseX;
    shown.baseY = managerShown.baseY;
    typeInto(shown.place(editor.control("IDC_STYLE_NAME")), "Length");
    typeInto(shown.place(editor.control("IDC_STYLE_DESCRIPTION")), "Length of a line into a text");
    chooseRow(shown, shown.place(editor.control("IDC_STYLE_READER")), rowOf(kReaders, "Length"));
    chooseRow(shown, shown.place(editor.control("IDC_STYLE_MODIFIER")),
              rowOf(kModifiers, "Text modifier"));
    typeInto(shown.place(editor.control("IDC_MACRO")), "$(rtos,%PROPERTY,2,2) m");
    clickCentre(shown.place(editor.control("IDOK")));
    clickCentre(managerShown.place(manager.control("IDOK")));
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 5));

    // The line's length into the text: both clicked in the view.
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture unlinked = gui.frame();
    const int lineRow = darkestRow(unlinked);
    const Box line = boxOf(unlinked, Picture::dark, 0, lineRow - 1, unlinked.width, lineRow + 2);
    const Box text = darkBox(unlinked, lineRow + 4, kViewHeight);
    ASSERT_FALSE(line.empty());
    ASSERT_FALSE(text.empty());
    gui.enter("sv_linkcreate");
    ASSERT_TRUE(gui.waitFor("Select the source object"));
    gui.click(line.left + (line.right - line.left) / 3, lineRow);
    ASSERT_TRUE(gui.waitFor("Select the label"));
    clickCentre(text);
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 6));

    // The line's right end pulled in by a quarter: its label follows at once.
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture linked = gui.frame();
    const Box label = darkBox(linked, lineRow + 4, kViewHeight);
    gui.enter("VERTEX");
    ASSERT_TRUE(gui.waitFor("Select a line, polyline or leader: "));
    gui.click(line.centreX(), lineRow);
    ASSERT_TRUE(gui.waitFor("Vertex to move (a point near it): "));
    gui.click(line.right, lineRow);
    ASSERT_TRUE(gui.waitFor("New position: "));
    gui.click(line.right - (line.right - line.left) / 4, lineRow);
    ASSERT_TRUE(gui.waitFor("moved."));
    ASSERT_TRUE(gui.waitFor("\nCommand: ", 7));
    gui.moveTo(kCommandLineX, kCommandLineY);
    const Picture moved = gui.frame();
    EXPECT_GT(moved.differences(linked, label.left, label.top, label.right + 1, label.bottom + 1),
              20);
    EXPECT_GT(linked.differences(unlinked, text.left, text.top, text.right + 1, text.bottom + 1),
              20);

    gui.enter("SAVEAS story.svd");
    ASSERT_TRUE(gui.waitFor("Saved story.svd."));
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);

    // The same session typed, with the points the pointer gave, saves the same drawing.
    const std::string output = gui.output();
    std::string typed;
    for (const char* geometry : kGeometry)
        typed += std::string(geometry) + "\n";
    typed += R"(sv_stylemgr
rclick 2000
click 32771
type 2003 Length
type 2006 "Length of a line into a text"
choose 2008 Length
choose 2007 "Text modifier"
type 2009 "$(rtos,%PROPERTY,2,2) m"
click OK
click OK
sv_linkcreate
)";
    for (const std::string prompt : {"Select the source object or [Style/Model/Paper/eXit]: ",
                                     "Select the label or [Model/Paper/Self]: "})
        typed += answerTo(output, prompt) + "\n";
    typed += "VERTEX\n";
    for (const std::string prompt : {"Select a line, polyline or leader: ",
                                     "Vertex to move (a point near it): ", "New position: "})
        typed += answerTo(output, prompt) + "\n";
    typed += "SAVEAS \"" + folder + "/typed.svd\"\n";
    const ProgramRun made = runProgram("svhost", "'" + writeScript("gui_story.scr", typed) + "'");
    ASSERT_EQ(made.status, 0) << made.output;
    const std::string byPointer = listedDrawing(folder + "/story.svd");
    EXPECT_NE(byPointer.find("link:     style \"Length\", label TEXT"), std::string::npos)
        << byPointer;
    // The label reads the line's new length: from its start at 0 to where the end was put.
    const std::string newEnd = answerTo(output, "New position: ");
    char length[32];
    std::snprintf(length, sizeof length, "\"%.2f m\"", std::stod(newEnd));
    EXPECT_NE(byPointer.find(std::string("text:             ") + length), std::string::npos)
        << byPointer;
    EXPECT_EQ(byPointer, listedDrawing(folder + "/typed.svd")) << typed;
}

} // namespace
