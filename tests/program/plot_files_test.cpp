// PLOT by the file's extension, each file read back by a decoder that is not ours.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class PlotFiles : public testing::Test {
protected:
    void SetUp() override {
        m_folder = testing::TempDir() + "sv-plot-files-" + std::to_string(getpid());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    ProgramRun run(const std::string& lines) {
        TempScript script("plot-" + std::to_string(getpid()) + ".scr", lines);
        return runCommand("cd '" + m_folder + "' && '" + binDir() + "/svhost' '" + script.path() +
                          "'");
    }

    std::string m_folder;
};

// A red circle in the middle of a 20 by 10 frame, a black line along its bottom.
constexpr const char* kDrawing = "CIRCLE 10,5 4\n"
                                 "CHPROP L \"\" Color red\n"
                                 "LINE 0,0 20,0 \"\"\n"
                                 "LINE 0,10 0,10.001 \"\"\n"
                                 "TEXT 1,8 1 0 Plotted\n";

TEST_F(PlotFiles, APngIsPaintedAndDecodes) {
    ProgramRun run = this->run(std::string(kDrawing) + "PLOT Model plan.PNG\n");
    ASSERT_EQ(run.status, 0) << run.output;
    cairo_surface_t* image = cairo_image_surface_create_from_png((m_folder + "/plan.PNG").c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    EXPECT_EQ(width, 1000);
    // The extents, 20 by 10, with a margin of a twentieth of the longer side all round.
    EXPECT_NEAR(height, 1000.0 * 12.0 / 22.0, 1.0);
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto pixel = [&](int x, int y) {
        return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
    };
    // Along the row through the circle's centre: white, then red at the rim, never red inside.
    const double scale = 1000.0 / 22.0;
    auto column = [&](double x) { return static_cast<int>(std::lround((x + 1.0) * scale)); };
    auto line = [&](double y) { return static_cast<int>(std::lround((11.0 - y) * scale)); };
    const int row = line(5.0);
    int red = 0, black = 0;
    for (int x = 0; x < width; ++x) {
        red += pixel(x, row) == 0xFF0000;
        black += pixel(x, row) == 0x000000;
    }
    EXPECT_GE(red, 2) << "the rim on both sides";
    EXPECT_EQ(black, 0);
    EXPECT_EQ(pixel(column(10.0), row), 0xFFFFFFu) << "the centre";
    // The bottom line is black from end to end; the text is inked above its baseline.
    EXPECT_EQ(pixel(column(0.5), line(0.0)), 0u);
    EXPECT_EQ(pixel(column(19.5), line(0.0)), 0u);
    int ink = 0, below = 0;
    for (int x = column(1.0); x < column(5.0); ++x) {
        for (int y = line(9.0); y < line(8.0); ++y)
            ink += pixel(x, y) == 0;
        for (int y = line(7.6); y < line(6.0); ++y)
            below += pixel(x, y) == 0;
    }
    EXPECT_EQ(below, 0) << "nothing under the baseline but descenders";
    EXPECT_GT(ink, 50) << "the text";
    cairo_surface_destroy(image);
}

TEST_F(PlotFiles, OnlyTheKindsItWritesAreWritten) {
    ProgramRun svg = this->run(std::string(kDrawing) + "PLOT Model plan.svg\n");
    EXPECT_EQ(svg.status, 0) << svg.output;
    ProgramRun parsed = runCommand(
        "python3 -c 'import sys, xml.etree.ElementTree as E; r = E.parse(sys.argv[1]).getroot(); "
        "print(r.tag, len(list(r.iter(\"{http://www.w3.org/2000/svg}circle\"))))' '" +
        m_folder + "/plan.svg'");
    EXPECT_TRUE(contains(parsed.output, "{http://www.w3.org/2000/svg}svg 1")) << parsed.output;

    for (const char* name : {"plan.pdf", "plan.svg.bak", "plan", "dir.png/plan"}) {
        ProgramRun refused = this->run(std::string(kDrawing) + "PLOT Model " + name + "\n");
        EXPECT_EQ(refused.status, 1) << name << refused.output;
        EXPECT_FALSE(std::filesystem::exists(m_folder + "/" + name)) << name;
    }
    ProgramRun pdf = this->run(std::string(kDrawing) + "PLOT Model plan.pdf\n");
    EXPECT_TRUE(contains(pdf.output, "PLOT writes .svg and .png files; \"plan.pdf\" is neither."))
        << pdf.output;
}

// A block alone is framed by all it holds: its attribute definitions' texts reach furthest here.
TEST_F(PlotFiles, ABlockAloneIsFramedByItsTextsToo) {
    ProgramRun run = this->run("LINE 0,0 1,0 \"\"\n"
                               "BLOCK TAG 0,0 NUM Tag LONGDEFAULTVALUE 5,5 1 \"\" L \"\"\n"
                               "PLOT TAG tag.svg\n");
    ASSERT_EQ(run.status, 0) << run.output;
    ProgramRun box = runCommand(
        "python3 -c 'import sys, xml.etree.ElementTree as E; "
        "x, y, w, h = map(float, E.parse(sys.argv[1]).getroot().get(\"viewBox\").split()); "
        "print(\"right\", x + w > 5 + 16 * 0.9, \"top\", -y > 6)' '" +
        m_folder + "/tag.svg'");
    EXPECT_TRUE(contains(box.output, "right True top True")) << box.output;
}

} // namespace
