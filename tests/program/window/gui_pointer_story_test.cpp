#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "dialog_layout.h"
#include "gui_frames.h"
#include "gui_session.h"

namespace {

using namespace guitest;

const std::string kEditorScript = std::string(SV_RESOURCES_DIR) + "/StyleEditor.rc";
const std::string kManagerScript = std::string(SV_RESOURCES_DIR) + "/StyleManager.rc";
const std::string kBlockScript = std::string(SV_RESOURCES_DIR) + "/BlockOptions.rc";

// The sample session's drafting, typed at the command line as users do: two rooms with the
// block that labels rooms, two walls with their texts, a marker, a survey point.
const char* const kGeometry[] = {
    "ARXLOAD SentavellUi17.arx",
    "SETVAR LUPREC 2",
    "PLINE 0,0 6,0 6,4 0,4 C",
    "PLINE 6,0 10,0 10,4 6,4 C",
    "LINE 0,-1 10,-1 \"\"",
    "LINE -1,0 -1,4 \"\"",
    "TEXT 4.5,-1.6 0.3 0 ?",
    "TEXT -1.3,1.5 0.3 90 ?",
    "CIRCLE 0.6,3.4 0.3",
    "PLINE 20,0 22,0 22,1.2 20,1.2 C",
    "BLOCK ROOM 21,0.6 NAME Name ? 20.2,0.75 0.35 AREA Area ? 20.2,0.2 0.3 \"\" 20,0 \"\"",
    "INSERT ROOM 3,2 1 0 Kitchen ?",
    "INSERT ROOM 8,2 1 0 Bath ?",
    "CIRCLE 30,0 0.2",
    "LINE 29.7,0 30.3,0 \"\"",
    "LINE 30,-0.3 30,0.3 \"\"",
    ("BLOCK SURVEY 30,0 E Easting ? 30.4,0.1 0.25 N Northing ? 30.4,-0.35 0.25 \"\" "
     "30.1414,0.1414 29.7,0 30,-0.3 \"\""),
    "INSERT SURVEY 13,2 1 0 ? ?"};
// The layout's viewport and the text on the paper.
const char* const kLayout[] = {"TILEMODE 0", "MVIEW 1,1 11,8", "TEXT 1,9 0.4 0 ?"};

// The styles the pointer makes, in the order it makes them, in the style manager's script form.
const std::string kStylesTyped = R"--(sv_stylemgr
rclick 2000
click 32771
type 2003 "Room area"
type 2006 "Floor area into the room's block"
choose 2008 Area
click 2010
click 2009
select 2012 ROOM/AREA
click OK
click OK
click 2011
click 32782
click OK
)--" + kLengthStyleForm + R"--(click 2011
click 32774
type 2017 12.345
click 2020
click OK
click OK
rclick 2000
click 32771
type 2003 Easting
type 2006 "X of the survey point"
choose 2008 "X coordinate"
click 2010
type 2011 E
click OK
type 2009 "E %PROPERTY"
click OK
rclick 2000
click 32771
type 2003 Northing
type 2006 "Y of the survey point"
choose 2008 "Y coordinate"
click 2010
type 2011 N
click OK
type 2009 "N %PROPERTY"
click OK
rclick 2000
click 32771
type 2003 "Area signal"
type 2006 "Marker colour from the floor area"
choose 2008 Area
choose 2007 "Color modifier"
type 2009 "$(if,$(>,%NPROPERTY,25),1,3)"
click OK
click OK
)--";
// The manager's rows in the order the styles were made.
enum StyleRow { kRoomArea, kLength, kEasting, kNorthing, kAreaSignal };
const char* const kStyleNames[] = {"Room area", "Length", "Easting", "Northing", "Area signal"};

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

// What follows the text on its line where the text is found: what was answered to a prompt.
std::string restOfLine(const std::string& output, const std::string& text, std::size_t at) {
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + text.size();
    return output.substr(start, output.find('\n', start) - start);
}
// The answer to the nth showing of the prompt, from 1.
std::string answerTo(const std::string& output, const std::string& prompt, std::size_t nth = 1) {
    std::size_t at = output.find(prompt);
    for (std::size_t i = 1; i < nth && at != std::string::npos; ++i)
        at = output.find(prompt, at + 1);
    return restOfLine(output, prompt, at);
}
std::string lastAnswerTo(const std::string& output, const std::string& prompt) {
    return restOfLine(output, prompt, output.rfind(prompt));
}

// A point of the drawing; x and y as the command line writes them.
struct Spot {
    double x = 0, y = 0;
};

Spot spotOf(const std::string& answer) {
    const std::size_t comma = answer.find(',');
    if (comma == std::string::npos)
        return {std::nan(""), std::nan("")};
    return {std::stod(answer.substr(0, comma)), std::stod(answer.substr(comma + 1))};
}

// Where drawing points land in a view that holds still, measured from two pixels and the points
// the view answered for them.
struct ViewScale {
    int pixelX = 0, pixelY = 0;
    Spot at;
    double unitsPerPixel = 0;

    int column(double x) const {
        return pixelX + static_cast<int>(std::lround((x - at.x) / unitsPerPixel));
    }
    int row(double y) const {
        return pixelY - static_cast<int>(std::lround((y - at.y) / unitsPerPixel));
    }
};

const std::string kSourcePrompt = "Select the source object or [Style/Model/Paper/eXit]: ";
const std::string kLayoutSourcePrompt =
    "Select the source object on the layout or [Style/Model/Paper/eXit]: ";
const std::string kLabelPrompt = "Select the label or [Model/Paper/Self]: ";
const std::string kLayoutLabelPrompt = "Select the label on the layout or [Model/Paper/Self]: ";
const std::string kCommandPrompt = "\nCommand: ";

class PointerStory : public testing::Test {
protected:
    VirtualDisplay display;
    std::string folder = testing::TempDir() + "gui_pointer_story";
    GuiSession gui{display, folder, ""};
    // The style manager's units: every dialog of the module uses the same font.
    DialogOnScreen units;
    ViewScale view;
    // The same session as a script types it, the points as the pointer gave them.
    std::string typed;

    const DialogTemplate manager{kManagerScript, "IDD_STYLE_MANAGER"};
    const DialogTemplate editor{kEditorScript, "IDD_STYLE_EDITOR"};
    const DialogTemplate options{kBlockScript, "IDD_BLOCK_MOD_OPTIONS"};
    const DialogTemplate lookup{kBlockScript, "IDD_ATTRIBUTE_LOOKUP"};
    const DialogTemplate check{kEditorScript, "IDD_MACRO_CHECK"};

    Picture frameAside() {
        gui.moveTo(kCommandLineX, kCommandLineY);
        return gui.frame();
    }
    // Does the action and waits until the transcript holds the text once more than before.
    template <class Action>
    bool thenOnceMore(const std::string& text, Action action) {
        const std::size_t before = countOf(gui.output(), text);
        action();
        return gui.waitFor(text, before + 1);
    }
    // A command line typed, in the window and in the script alike.
    bool command(const std::string& line) {
        typed += line + "\n";
        return thenOnceMore(kCommandPrompt, [&] { gui.enter(line); });
    }
    // Answers the prompt showing now with a click on the drawing point, and waits for the next
    // prompt; the script answers with the point the click gave.
    bool clickAt(const std::string& prompt, Spot spot, const std::string& next) {
        return clickAt(prompt, spot, next, view);
    }
    // The same where the view answers on the scale given.
    bool clickAt(const std::string& prompt, Spot spot, const std::string& next,
                 const ViewScale& scale) {
        const std::size_t showing = countOf(gui.output(), prompt);
        const bool asked =
            thenOnceMore(next, [&] { gui.click(scale.column(spot.x), scale.row(spot.y)); });
        typed += answerTo(gui.output(), prompt, showing) + "\n";
        return asked;
    }
    // Enter at an empty command line ends a selection.
    bool endSelection(const std::string& next) {
        typed += "\n";
        return thenOnceMore(next, [&] { gui.key("Return"); });
    }

    // Two points the view answers at two pixels, at a prompt that is cancelled, give its scale
    // there. Nothing is drawn.
    void measureScale(ViewScale& scale, const int (&columns)[2], const int (&rows)[2]) {
        Spot spots[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(thenOnceMore("First point: ", [&] { gui.enter("LINE"); }));
            ASSERT_TRUE(
                thenOnceMore("Next point or [Undo]: ", [&] { gui.click(columns[i], rows[i]); }));
            spots[i] = spotOf(lastAnswerTo(gui.output(), "First point: "));
            ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.key("Escape"); }));
        }
        scale.pixelX = columns[0];
        scale.pixelY = rows[0];
        scale.at = spots[0];
        scale.unitsPerPixel = (spots[1].x - spots[0].x) / (columns[1] - columns[0]);
        ASSERT_GT(scale.unitsPerPixel, 0.0);
        EXPECT_NEAR((spots[0].y - spots[1].y) / (rows[1] - rows[0]), scale.unitsPerPixel, 1e-3);
    }
    // Wheel notches over the pointer: forward positive.
    void xdotoolWheel(int notches) {
        for (int i = 0; i < std::abs(notches); ++i)
            gui.xdotool(notches > 0 ? "click 4" : "click 5");
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
    // Clicks a button and waits for the dialog it opens.
    DialogOnScreen opened(const Box& button) {
        const Picture before = frameAside();
        clickCentre(button);
        return dialogOver(before);
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
    static int itemHeight(const DialogOnScreen& dialog) { return dialog.baseY + 2; }
    static int fieldCentreY(const DialogOnScreen& dialog, const Box& combo) {
        return combo.top + (itemHeight(dialog) + 4) / 2;
    }
    void chooseRow(const DialogOnScreen& dialog, const Box& combo, int row) {
        ASSERT_GE(row, 0);
        const int listTop = combo.top + itemHeight(dialog) + 4;
        gui.click(combo.centreX(), fieldCentreY(dialog, combo));
        gui.click(combo.centreX(), listTop + 1 + row * itemHeight(dialog) + itemHeight(dialog) / 2);
    }
    // A right click on the manager's list, New in the menu that comes up under the pointer.
    DialogOnScreen newStyle(const DialogOnScreen& managerShown) {
        const Box list = managerShown.place(manager.control("IDC_STYLE_LIST"));
        const Picture before = frameAside();
        gui.click(list.centreX(), list.bottom - 10, 3);
        gui.click(list.centreX() + 20, list.bottom - 10 + 2 + (units.baseY + 6) / 2);
        return dialogOver(before);
    }
    void chooseReader(const DialogOnScreen& shown, const std::string& reader) {
        chooseRow(shown, shown.place(editor.control("IDC_STYLE_READER")), rowOf(kReaders, reader));
    }
    // Tab from the reader to the modifier, then the wheel over it steps down to the modifier.
    void wheelToModifier(const DialogOnScreen& shown, const std::string& modifier) {
        gui.key("Tab");
        const Box combo = shown.place(editor.control("IDC_STYLE_MODIFIER"));
        gui.moveTo(combo.centreX(), fieldCentreY(shown, combo));
        xdotoolWheel(-rowOf(kModifiers, modifier));
    }
    // The row of the macro button's menu for the item: the hot row, under the pointer, gives
    // the rows' height; separators are thinner.
    void clickMacroMenu(const DialogOnScreen& shown, const std::string& item) {
        const Box menuButton = shown.place(editor.control("IDC_MACRO_MENU"));
        clickCentre(menuButton);
        gui.moveTo(menuButton.left + 30, menuButton.bottom + 6);
        const Box hotRow = boxOf(gui.frame(), selectionBlue, menuButton.left, menuButton.bottom,
                                 menuButton.left + 60, menuButton.bottom + 40);
        ASSERT_FALSE(hotRow.empty());
        const MenuPlace place = menuPlace(kEditorScript, "IDR_MACRO_MENU", item);
        ASSERT_GE(place.items, 0);
        const int rowHeight = hotRow.bottom - hotRow.top + 1;
        gui.click(hotRow.left + 20, hotRow.top + place.items * rowHeight +
                                        place.separators * kMenuSeparatorHeight + rowHeight / 2);
    }
    // The block options' tag typed: the attribute the block modifier writes.
    void writeIntoTag(const DialogOnScreen& shown, const std::string& tag) {
        const DialogOnScreen optionsShown =
            opened(shown.place(editor.control("IDC_MODIFIER_OPTIONS")));
        typeInto(optionsShown.place(options.control("IDC_ATTRIBUTE_TAG")), tag);
        clickCentre(optionsShown.place(options.control("IDOK")));
    }

    void makeStyles() {
        typed += kStylesTyped;
        ASSERT_TRUE(manager.size().found && editor.size().found && check.size().found);
        gui.enter("sv_stylemgr");
        ASSERT_TRUE(waitUntil([&] {
            units = measureDialog(frameAside(), manager.size());
            return units.baseY > 0;
        }));
        const DialogOnScreen managerShown = units;

        // The room's area into the block's AREA attribute, the tag looked up in the block tree,
        // the macro from the macro button's menu.
        DialogOnScreen shown = newStyle(managerShown);
        typeInto(shown.place(editor.control("IDC_STYLE_NAME")), "Room area");
        typeInto(shown.place(editor.control("IDC_STYLE_DESCRIPTION")),
                 "Floor area into the room's block");
        chooseReader(shown, "Area");
        const DialogOnScreen optionsShown =
            opened(shown.place(editor.control("IDC_MODIFIER_OPTIONS")));
        const DialogOnScreen lookupShown =
            opened(optionsShown.place(options.control("IDC_ATTRIBUTE_LOOKUP")));
        // The tree opens with its blocks expanded: the block's row, then its tags in order.
        const Box tree = lookupShown.place(lookup.control("IDC_ATTRIBUTE_TREE"));
        gui.click(tree.left + 40, tree.top + 4 + units.baseY / 2);
        const Box blockRow =
            boxOf(frameAside(), selectionBlue, tree.left, tree.top, tree.right, tree.bottom);
        ASSERT_FALSE(blockRow.empty());
        gui.click(blockRow.centreX(), blockRow.centreY() + (blockRow.bottom - blockRow.top + 1));
        clickCentre(lookupShown.place(lookup.control("IDOK")));
        clickCentre(optionsShown.place(options.control("IDOK")));
        clickMacroMenu(shown, "ID_MACRO_M2");
        clickCentre(shown.place(editor.control("IDOK")));

        // The line's length into a text, Tab going from the name to the description, the
        // modifier taken with the wheel; the macro typed and tried in the macro check, whose
        // result shows beside the sample.
        shown = newStyle(managerShown);
        typeInto(shown.place(editor.control("IDC_STYLE_NAME")), "Length");
        gui.key("Tab");
        gui.type("Length of a line into a text");
        chooseReader(shown, "Length");
        wheelToModifier(shown, "Text modifier");
        typeInto(shown.place(editor.control("IDC_MACRO")), "$(rtos,%PROPERTY,2,2) m");
        Picture before = frameAside();
        clickMacroMenu(shown, "ID_MACRO_CHECK");
        const DialogOnScreen checkShown = dialogOver(before);
        typeInto(checkShown.place(check.control("IDC_CHECK_SAMPLE")), "12.345");
        const Box result = checkShown.place(check.control("IDC_CHECK_RESULT"));
        before = frameAside();
        clickCentre(checkShown.place(check.control("IDC_CHECK_EVALUATE")));
        EXPECT_GT(frameAside().differences(before, result.left, result.top, result.right + 1,
                                           result.bottom + 1),
                  20)
            << "the macro check shows no result";
        clickCentre(checkShown.place(check.control("IDOK")));
        clickCentre(shown.place(editor.control("IDOK")));

        // The survey point's X and Y into the block's E and N attributes.
        for (const char* axis : {"E", "N"}) {
            const bool east = std::string(axis) == "E";
            shown = newStyle(managerShown);
            typeInto(shown.place(editor.control("IDC_STYLE_NAME")), east ? "Easting" : "Northing");
            typeInto(shown.place(editor.control("IDC_STYLE_DESCRIPTION")),
                     east ? "X of the survey point" : "Y of the survey point");
            chooseReader(shown, east ? "X coordinate" : "Y coordinate");
            writeIntoTag(shown, axis);
            typeInto(shown.place(editor.control("IDC_MACRO")), std::string(axis) + " %PROPERTY");
            clickCentre(shown.place(editor.control("IDOK")));
        }

        // The marker's colour from the kitchen's area, through the macro; Shift+Tab goes back
        // from the description to the name.
        shown = newStyle(managerShown);
        typeInto(shown.place(editor.control("IDC_STYLE_DESCRIPTION")),
                 "Marker colour from the floor area");
        gui.key("shift+Tab");
        gui.type("Area signal");
        chooseReader(shown, "Area");
        wheelToModifier(shown, "Color modifier");
        typeInto(shown.place(editor.control("IDC_MACRO")), "$(if,$(>,%NPROPERTY,25),1,3)");
        clickCentre(shown.place(editor.control("IDOK")));

        ASSERT_TRUE(thenOnceMore(
            kCommandPrompt, [&] { clickCentre(managerShown.place(manager.control("IDOK"))); }));
    }

    // Clicks one of the blue keywords of the prompt on the command line.
    Picture clickKeyword(std::size_t index, std::size_t keywords) {
        const Picture prompt = frameAside();
        const std::vector<Box> words =
            colourWords(prompt, keywordBlue, prompt.height - 24, prompt.height);
        EXPECT_EQ(words.size(), keywords);
        if (index < words.size())
            clickCentre(words[index]);
        return prompt;
    }
    // Style at the source prompt, the style's row in the manager, OK. The manager opens with
    // its first row chosen.
    void chooseStyle(StyleRow row, const std::string& prompt) {
        const DialogOnScreen chooser = dialogOver(clickKeyword(0, 4));
        const Box styles = chooser.place(manager.control("IDC_STYLE_LIST"));
        const Box firstRow = boxOf(frameAside(), selectionBlue, styles.left, styles.top,
                                   styles.right, styles.bottom);
        ASSERT_FALSE(firstRow.empty());
        gui.click(firstRow.left + 20,
                  firstRow.centreY() + row * (firstRow.bottom - firstRow.top + 1));
        const std::size_t asked = countOf(gui.output(), prompt);
        clickCentre(chooser.place(manager.control("IDOK")));
        ASSERT_TRUE(gui.waitFor(prompt, asked + 1));
        typed += "Style\nselect 2000 \"" + std::string(kStyleNames[row]) + "\"\nclick OK\n";
    }
    // A link from the source to the label, both clicked, in the current style or another.
    void link(Spot source, Spot label, int style = -1) {
        typed += "sv_linkcreate\n";
        ASSERT_TRUE(thenOnceMore(kSourcePrompt, [&] { gui.enter("sv_linkcreate"); }));
        if (style >= 0)
            chooseStyle(static_cast<StyleRow>(style), kSourcePrompt);
        ASSERT_TRUE(clickAt(kSourcePrompt, source, kLabelPrompt));
        ASSERT_TRUE(clickAt(kLabelPrompt, label, kCommandPrompt));
    }
    // A source that labels itself: Self clicked at the label prompt.
    void selfLink(Spot source, StyleRow style) {
        typed += "sv_linkcreate\n";
        ASSERT_TRUE(thenOnceMore(kSourcePrompt, [&] { gui.enter("sv_linkcreate"); }));
        chooseStyle(style, kSourcePrompt);
        ASSERT_TRUE(clickAt(kSourcePrompt, source, kLabelPrompt));
        ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { clickKeyword(2, 3); }));
        typed += "Self\n";
    }
    // A vertex of the outline or line through `on` pulled from one point to another.
    void pullVertex(Spot on, Spot from, Spot to) {
        const std::string select = "Select a line, polyline or leader: ";
        const std::string vertex = "Vertex to move (a point near it): ";
        const std::string position = "New position: ";
        typed += "VERTEX\n";
        ASSERT_TRUE(thenOnceMore(select, [&] { gui.enter("VERTEX"); }));
        ASSERT_TRUE(clickAt(select, on, vertex));
        ASSERT_TRUE(clickAt(vertex, from, position));
        ASSERT_TRUE(clickAt(position, to, kCommandPrompt));
    }
};

TEST_F(PointerStory, TheSampleSessionByThePointerSavesWhatItsTypedScriptSaves) {
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(gui.ready());
    for (const char* line : kGeometry)
        ASSERT_TRUE(command(line)) << line;
    // The view is made to hold still, zoomed out by the wheel about a point low in it, so that
    // the layout's paper above the model's extents shows too.
    gui.moveTo(500, 600);
    xdotoolWheel(-3);
    ASSERT_NO_FATAL_FAILURE(measureScale(view, {150, 850}, {100, 550}));
    ASSERT_NO_FATAL_FAILURE(makeStyles());

    // Each room's area into its block, the kitchen's also into the marker's colour; each wall's
    // length into its text; the survey point's coordinates into its own attributes.
    ASSERT_NO_FATAL_FAILURE(link({3, 0}, {3, 1.4}));
    ASSERT_NO_FATAL_FAILURE(link({8, 0}, {8, 1.4}));
    ASSERT_NO_FATAL_FAILURE(link({3, 0}, {0.9, 3.4}, kAreaSignal));
    ASSERT_NO_FATAL_FAILURE(link({5, -1}, {4.6, -1.5}, kLength));
    ASSERT_NO_FATAL_FAILURE(link({-1, 2}, {-1.45, 1.8}));
    ASSERT_NO_FATAL_FAILURE(selfLink({13.2, 2}, kEasting));
    ASSERT_NO_FATAL_FAILURE(selfLink({13.2, 2}, kNorthing));

    // On the layout: the wall picked through the viewport in model space, the text on paper.
    for (const char* line : kLayout)
        ASSERT_TRUE(command(line)) << line;
    // Working in model space, the layout shows the model through its viewport: the scale of the
    // model inside the viewport's frame, between paper points (3, 3) and (9, 6).
    ViewScale throughViewport;
    ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.enter("MSPACE"); }));
    ASSERT_NO_FATAL_FAILURE(measureScale(throughViewport, {view.column(3), view.column(9)},
                                         {view.row(3), view.row(6)}));
    ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.enter("PSPACE"); }));
    typed += "sv_linkcreate\n";
    ASSERT_TRUE(thenOnceMore(kLayoutSourcePrompt, [&] { gui.enter("sv_linkcreate"); }));
    ASSERT_NO_FATAL_FAILURE(chooseStyle(kLength, kLayoutSourcePrompt));
    ASSERT_TRUE(thenOnceMore("Select a viewport: ", [&] { clickKeyword(1, 4); }));
    typed += "Model\n";
    // The prompts say "on the layout" while the layout is shown, in model space too.
    ASSERT_TRUE(clickAt("Select a viewport: ", {1, 4}, kLayoutSourcePrompt));
    ASSERT_TRUE(clickAt(kLayoutSourcePrompt, {1, -1}, kLayoutLabelPrompt, throughViewport));
    ASSERT_TRUE(thenOnceMore(kLayoutLabelPrompt, [&] { clickKeyword(1, 3); }));
    typed += "Paper\n";
    ASSERT_TRUE(clickAt(kLayoutLabelPrompt, {1.2, 9.1}, kCommandPrompt));
    ASSERT_TRUE(command("TILEMODE 1"));

    // The rooms stretched, the walls pulled out, the survey point moved.
    ASSERT_NO_FATAL_FAILURE(pullVertex({3, 4}, {6, 4}, {6, 5}));
    ASSERT_NO_FATAL_FAILURE(pullVertex({3, 4}, {0, 4}, {0, 5}));
    ASSERT_NO_FATAL_FAILURE(pullVertex({10, 2}, {10, 0}, {12, 0}));
    ASSERT_NO_FATAL_FAILURE(pullVertex({8, 4}, {10, 4}, {12, 4}));
    ASSERT_NO_FATAL_FAILURE(pullVertex({5, -1}, {10, -1}, {12, -1}));
    ASSERT_NO_FATAL_FAILURE(pullVertex({-1, 2}, {-1, 4}, {-1, 5}));
    typed += "MOVE\n";
    ASSERT_TRUE(thenOnceMore("Select objects: ", [&] { gui.enter("MOVE"); }));
    ASSERT_TRUE(clickAt("Select objects: ", {13.2, 2}, "Select objects: "));
    ASSERT_TRUE(endSelection("Base point: "));
    ASSERT_TRUE(clickAt("Base point: ", {13, 2}, "Second point: "));
    ASSERT_TRUE(clickAt("Second point: ", {15, 3}, kCommandPrompt));

    // The bath's link taken off by a click: its label no longer follows.
    typed += "sv_linkremove\n";
    ASSERT_TRUE(thenOnceMore("Select objects: ", [&] { gui.enter("sv_linkremove"); }));
    ASSERT_TRUE(clickAt("Select objects: ", {8, 0}, "Select objects: "));
    ASSERT_TRUE(endSelection(kCommandPrompt));
    EXPECT_NE(gui.output().find("Links removed: 1."), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(pullVertex({8, 0}, {12, 0}, {14, 0}));

    // Saved, closed and opened again, the labels still follow their sources.
    typed += "SAVEAS \"" + folder + "/typed_session.svd\"\nCLOSE\nOPEN \"" + folder +
             "/typed_session.svd\"\n";
    ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.enter("SAVEAS session.svd"); }));
    ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.enter("CLOSE"); }));
    ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.enter("OPEN session.svd"); }));
    ASSERT_NO_FATAL_FAILURE(pullVertex({3, 5}, {0, 5}, {0, 6}));
    ASSERT_NO_FATAL_FAILURE(pullVertex({5, -1}, {12, -1}, {14, -1}));
    typed += "SAVEAS \"" + folder + "/typed.svd\"\n";
    ASSERT_TRUE(thenOnceMore(kCommandPrompt, [&] { gui.enter("SAVEAS story.svd"); }));
    gui.closeWindow();
    EXPECT_EQ(gui.exitStatus(), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    RecordProperty("story_seconds", std::to_string(seconds));
    std::printf("The pointer story took %.1f s.\n", seconds);

    // The same session typed, with the points the pointer gave, saves the same drawing.
    const ProgramRun made = runProgram("svhost", shellQuoted(writeScript("gui_story.scr", typed)));
    ASSERT_EQ(made.status, 0) << made.output;
    const std::string byPointer = listedDrawing(folder + "/story.svd");
    EXPECT_EQ(byPointer, listedDrawing(folder + "/typed.svd")) << typed;

    // The wall's label reads the wall's length from its start at 0 to where its end was put
    // after the drawing came back; the text on the layout reads the same wall.
    const std::string output = gui.output();
    char length[32];
    std::snprintf(length, sizeof length, "\"%.2f m\"",
                  spotOf(lastAnswerTo(output, "New position: ")).x);
    EXPECT_EQ(countOf(byPointer, std::string("text:             ") + length), 2u) << byPointer;
    // The kitchen's block reads the kitchen's area as it is now, and past 25 m2 the marker is red.
    const std::string area = answerTo(byPointer, "area:             ");
    EXPECT_GT(std::stod(area), 25.0);
    EXPECT_NE(byPointer.find("AREA = \"" + area + " m2\""), std::string::npos) << byPointer;
    EXPECT_NE(byPointer.find("macro:    \"%PROPERTY m2\""), std::string::npos);
    EXPECT_NE(byPointer.find("Color:            1\n    center point:     X=0.60  Y=3.40"),
              std::string::npos)
        << "the marker is not red";
    // Every link is a reactor of its source: eight made, the bath's removed.
    std::size_t links = 0;
    std::istringstream lines(byPointer);
    for (std::string line; std::getline(lines, line);)
        links += line.find("Reactor:") != std::string::npos &&
                         line.find("AcPropertyLink") != std::string::npos
                     ? 1
                     : 0;
    EXPECT_EQ(links, 7u) << byPointer;
}

} // namespace
