#include <gtest/gtest.h>

#include <cstdio>

#include "dialog_layout.h"
#include "gui_frames.h"
#include "gui_session.h"

namespace {

using namespace guitest;

const std::string kEditorScript = std::string(SV_RESOURCES_DIR) + "/StyleEditor.rc";
const std::string kManagerScript = std::string(SV_RESOURCES_DIR) + "/StyleManager.rc";
const std::string kBlockScript = std::string(SV_RESOURCES_DIR) + "/BlockOptions.rc";

// The geometry is drafted at the command line, as users do: a room with the block that labels
// rooms inserted into it, a wall line and its text.
const char* const kGeometry[] = {
    "ARXLOAD SentavellUi17.arx",
    "PLINE 0,0 6,0 6,4 0,4 C",
    "LINE 0,-1 10,-1 \"\"",
    "TEXT 4.5,-1.6 0.3 0 ?",
    "PLINE 20,0 22,0 22,1.2 20,1.2 C",
    "BLOCK ROOM 21,0.6 NAME Name ? 20.2,0.75 0.35 AREA Area ? 20.2,0.2 0.3 \"\" 20,0 \"\"",
    "INSERT ROOM 3,2 1 0 Kitchen ?"};
constexpr int kGeometryLines = sizeof kGeometry / sizeof kGeometry[0];

// What the pointer does in the dialogs, as the script form of the style manager writes it.
const std::string kStylesTyped = std::string("sv_stylemgr\n") + kNewLengthStyle + R"(rclick 2000
click 32771
type 2003 "Room area"
type 2006 "Floor area into the room block"
choose 2008 Area
click 2010
click 2009
select 2012 ROOM/AREA
click OK
click OK
click 2011
click 32782
click OK
click OK
)";

constexpr int kMenuSeparatorHeight = 9;

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

// What follows the prompt on its line the nth time (from 1) it shows: what was answered to it.
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

// The first row from the top of the view that is mostly dark: a long horizontal edge.
int firstEdgeRow(const Picture& frame, int from, int minimum) {
    for (int y = from; y < kViewHeight; ++y) {
        int count = 0;
        for (int x = 0; x < frame.width; ++x)
            count += Picture::dark(frame.at(x, y)) ? 1 : 0;
        if (count >= minimum)
            return y;
    }
    return -1;
}

// The room as the view shows it: its outline, from its long top and bottom edges, and the block
// inside.
struct Room {
    Box outline, block;
};

Room roomIn(const Picture& frame, int edgeLength) {
    Room room;
    const int top = firstEdgeRow(frame, 0, edgeLength);
    const int bottom = firstEdgeRow(frame, top + 3, edgeLength);
    if (top < 0 || bottom < 0)
        return room;
    room.outline = boxOf(frame, Picture::dark, 0, top - 1, frame.width, top + 2);
    room.outline.top = top;
    room.outline.bottom = bottom;
    room.block = boxOf(frame, Picture::dark, room.outline.left + 4, top + 4, room.outline.right - 4,
                       bottom - 4);
    return room;
}

class PointerStory : public testing::Test {
protected:
    VirtualDisplay display;
    std::string folder = testing::TempDir() + "gui_pointer_story";
    GuiSession gui{display, folder, ""};
    // The style manager's units: every dialog of the module uses the same font.
    DialogOnScreen units;

    Picture frameAside() {
        gui.moveTo(kCommandLineX, kCommandLineY);
        return gui.frame();
    }
    // Waits for a dialog to come up over the frame; the module's dialogs open at their owner's
    // corner, so the title bar on top gives the corner.
    DialogOnScreen dialogOver(const Picture& before) {
        Picture shown;
        const bool cameUp = waitUntil([&] {
            shown = frameAside();
            return shown.differences(before, 0, 0, shown.width, kViewHeight) > 200;
        });
        EXPECT_TRUE(cameUp) << "no dialog came up";
        DialogOnScreen dialog = units;
        const Box bar = colourBox(shown, kTitleBar, 0, 0, shown.width, kViewHeight);
        dialog.left = bar.left;
        dialog.top = bar.bottom + 1;
        return dialog;
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
    // A right click on the manager's list, New in the menu that comes up under the pointer.
    DialogOnScreen newStyle(const DialogTemplate& manager, const DialogOnScreen& shown) {
        const Box list = shown.place(manager.control("IDC_STYLE_LIST"));
        const Picture before = frameAside();
        gui.click(list.centreX(), list.bottom - 10, 3);
        gui.click(list.centreX() + 20, list.bottom - 10 + 2 + (units.baseY + 6) / 2);
        return dialogOver(before);
    }
};

TEST_F(PointerStory, StylesLinksAndEditsByThePointerSaveWhatTheTypedSessionSaves) {
    ASSERT_TRUE(gui.ready());
    for (const char* line : kGeometry)
        gui.enter(line);
    ASSERT_TRUE(gui.waitFor("\nCommand: ", kGeometryLines + 1));
    int commands = kGeometryLines + 1;
    const Picture drawing = frameAside();

    const DialogTemplate manager(kManagerScript, "IDD_STYLE_MANAGER");
    const DialogTemplate editor(kEditorScript, "IDD_STYLE_EDITOR");
    const DialogTemplate options(kBlockScript, "IDD_BLOCK_MOD_OPTIONS");
    const DialogTemplate lookup(kBlockScript, "IDD_ATTRIBUTE_LOOKUP");
    ASSERT_TRUE(manager.size().found && editor.size().found);
    gui.enter("sv_stylemgr");
    ASSERT_TRUE(waitUntil([&] {
        units = measureDialog(frameAside(), manager.size());
        return units.baseY > 0;
    }));
    const DialogOnScreen managerShown = units;

    // The line's length into a text.
    DialogOnScreen shown = newStyle(manager, managerShown);
    typeInto(shown.place(editor.control("IDC_STYLE_NAME")), "Length");
    typeInto(shown.place(editor.control("IDC_STYLE_DESCRIPTION")), "Length of a line into a text");
    chooseRow(shown, shown.place(editor.control("IDC_STYLE_READER")), rowOf(kReaders, "Length"));
    chooseRow(shown, shown.place(editor.control("IDC_STYLE_MODIFIER")),
              rowOf(kModifiers, "Text modifier"));
    typeInto(shown.place(editor.control("IDC_MACRO")), "$(rtos,%PROPERTY,2,2) m");
    clickCentre(shown.place(editor.control("IDOK")));
    // The room's area into the block's AREA attribute, the tag looked up in the block tree.
    shown = newStyle(manager, managerShown);
    typeInto(shown.place(editor.control("IDC_STYLE_NAME")), "Room area");
    typeInto(shown.place(editor.control("IDC_STYLE_DESCRIPTION")),
             "Floor area into the room block");
    chooseRow(shown, shown.place(editor.control("IDC_STYLE_READER")), rowOf(kReaders, "Area"));
    Picture before = frameAside();
    clickCentre(shown.place(editor.control("IDC_MODIFIER_OPTIONS")));
    const DialogOnScreen optionsShown = dialogOver(before);
    before = frameAside();
    clickCentre(optionsShown.place(options.control("IDC_ATTRIBUTE_LOOKUP")));
    const DialogOnScreen lookupShown = dialogOver(before);
    // The tree opens with its blocks expanded: the block's row, then its tags in order.
    const Box tree = lookupShown.place(lookup.control("IDC_ATTRIBUTE_TREE"));
    gui.click(tree.left + 40, tree.top + 4 + units.baseY / 2);
    const Picture blockChosen = frameAside();
    const Box blockRow =
        boxOf(blockChosen, selectionBlue, tree.left, tree.top, tree.right, tree.bottom);
    ASSERT_FALSE(blockRow.empty());
    gui.click(blockRow.centreX(), blockRow.centreY() + (blockRow.bottom - blockRow.top + 1));
    clickCentre(lookupShown.place(lookup.control("IDOK")));
    clickCentre(optionsShown.place(options.control("IDOK")));
    // The macro from the macro button's menu: the hot row, under the pointer, gives the rows'
    // height; separators are thinner.
    const Box menuButton = shown.place(editor.control("IDC_MACRO_MENU"));
    clickCentre(menuButton);
    gui.moveTo(menuButton.left + 30, menuButton.bottom + 6);
    const Box hotRow = boxOf(gui.frame(), selectionBlue, menuButton.left, menuButton.bottom,
                             menuButton.left + 60, menuButton.bottom + 40);
    ASSERT_FALSE(hotRow.empty());
    const MenuPlace squareMetres = menuPlace(kEditorScript, "IDR_MACRO_MENU", "ID_MACRO_M2");
    ASSERT_GE(squareMetres.items, 0);
    const int rowHeight = hotRow.bottom - hotRow.top + 1;
    gui.click(hotRow.left + 20, hotRow.top + squareMetres.items * rowHeight +
                                    squareMetres.separators * kMenuSeparatorHeight + rowHeight / 2);
    clickCentre(shown.place(editor.control("IDOK")));

    clickCentre(managerShown.place(manager.control("IDOK")));
    ASSERT_TRUE(gui.waitFor("\nCommand: ", ++commands));

    // The line's length into the text: both clicked in the view.
    const Picture unlinked = frameAside();
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
    ASSERT_TRUE(gui.waitFor("\nCommand: ", ++commands));

    // The room's area into its block, the style taken from the manager: Style is clicked at the
    // prompt, the second row of the list, OK; then the room's bottom edge and the block's outline.
    const Room room = roomIn(unlinked, (line.right - line.left) / 2);
    ASSERT_LT(room.outline.top, lineRow);
    ASSERT_FALSE(room.block.empty());
    gui.enter("sv_linkcreate");
    ASSERT_TRUE(gui.waitFor("Select the source object", 2));
    const Picture prompt = frameAside();
    const std::vector<Box> keywords =
        colourWords(prompt, keywordBlue, prompt.height - 24, prompt.height);
    ASSERT_EQ(keywords.size(), 4u);
    clickCentre(keywords[0]);
    const DialogOnScreen chooser = dialogOver(prompt);
    const Box styles = chooser.place(manager.control("IDC_STYLE_LIST"));
    const Box firstRow =
        boxOf(frameAside(), selectionBlue, styles.left, styles.top, styles.right, styles.bottom);
    ASSERT_FALSE(firstRow.empty());
    gui.click(firstRow.left + 20, firstRow.centreY() + (firstRow.bottom - firstRow.top + 1));
    clickCentre(chooser.place(manager.control("IDOK")));
    ASSERT_TRUE(gui.waitFor("Select the source object", 3));
    gui.click(room.outline.centreX(), room.outline.bottom);
    ASSERT_TRUE(gui.waitFor("Select the label", 2));
    gui.click(room.block.left, room.block.centreY());
    ASSERT_TRUE(gui.waitFor("\nCommand: ", ++commands));

    // The line's right end pulled in by a quarter: its label follows at once.
    const Picture linked = frameAside();
    EXPECT_GT(linked.differences(unlinked, text.left, text.top, text.right + 1, text.bottom + 1),
              20);
    const Box label = darkBox(linked, lineRow + 4, kViewHeight);
    gui.enter("VERTEX");
    ASSERT_TRUE(gui.waitFor("Select a line, polyline or leader: "));
    gui.click(line.centreX(), lineRow);
    ASSERT_TRUE(gui.waitFor("Vertex to move (a point near it): "));
    gui.click(line.right, lineRow);
    ASSERT_TRUE(gui.waitFor("New position: "));
    gui.click(line.right - (line.right - line.left) / 4, lineRow);
    ASSERT_TRUE(gui.waitFor("\nCommand: ", ++commands));
    const Picture moved = frameAside();
    EXPECT_GT(moved.differences(linked, label.left, label.top, label.right + 1, label.bottom + 1),
              20);

    // The room's top right corner pulled out to the right: the area in its block follows.
    const Room small = roomIn(moved, (line.right - line.left) / 3);
    ASSERT_FALSE(small.block.empty());
    gui.enter("VERTEX");
    ASSERT_TRUE(gui.waitFor("Select a line, polyline or leader: ", 2));
    gui.click(small.outline.centreX(), small.outline.top);
    ASSERT_TRUE(gui.waitFor("Vertex to move (a point near it): ", 2));
    gui.click(small.outline.right, small.outline.top);
    ASSERT_TRUE(gui.waitFor("New position: ", 2));
    gui.click(small.outline.right + (line.right - line.left) / 5, small.outline.top);
    ASSERT_TRUE(gui.waitFor("\nCommand: ", ++commands));
    const Picture grown = frameAside();
    EXPECT_GT(grown.differences(moved, small.block.left, small.block.top, small.block.right + 1,
                                small.block.bottom + 1),
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
    typed += kStylesTyped;
    const std::string sourcePrompt = "Select the source object or [Style/Model/Paper/eXit]: ";
    const std::string labelPrompt = "Select the label or [Model/Paper/Self]: ";
    typed += "sv_linkcreate\n";
    typed += answerTo(output, sourcePrompt) + "\n" + answerTo(output, labelPrompt) + "\n";
    typed += "sv_linkcreate\n" + answerTo(output, sourcePrompt, 2) + "\n";
    typed += "select 2000 \"Room area\"\nclick OK\n";
    typed += answerTo(output, sourcePrompt, 3) + "\n" + answerTo(output, labelPrompt, 2) + "\n";
    for (int nth = 1; nth <= 2; ++nth) {
        typed += "VERTEX\n";
        for (const std::string prompt : {"Select a line, polyline or leader: ",
                                         "Vertex to move (a point near it): ", "New position: "})
            typed += answerTo(output, prompt, nth) + "\n";
    }
    typed += "SAVEAS \"" + folder + "/typed.svd\"\n";
    const ProgramRun made = runProgram("svhost", shellQuoted(writeScript("gui_story.scr", typed)));
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
    // The block's AREA reads the room's area as it is now.
    const std::string area = answerTo(byPointer, "area:             ");
    EXPECT_NE(area, "24.0000");
    EXPECT_NE(byPointer.find("AREA = \"" + area + " m2\""), std::string::npos) << byPointer;
    EXPECT_NE(byPointer.find("macro:    \"%PROPERTY m2\""), std::string::npos);
    EXPECT_EQ(byPointer, listedDrawing(folder + "/typed.svd")) << typed;
}

} // namespace
