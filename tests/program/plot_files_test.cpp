// PLOT by the file's extension, each file read back by a decoder that is not ours.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
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

    for (const char* name : {"plan.dwg", "plan.svg.bak", "plan", "dir.png/plan"}) {
        ProgramRun refused = this->run(std::string(kDrawing) + "PLOT Model " + name + "\n");
        EXPECT_EQ(refused.status, 1) << name << refused.output;
        EXPECT_FALSE(std::filesystem::exists(m_folder + "/" + name)) << name;
    }
    ProgramRun dwg = this->run(std::string(kDrawing) + "PLOT Model plan.dwg\n");
    EXPECT_TRUE(contains(dwg.output, "\"plan.dwg\" is none of them.")) << dwg.output;
}

TEST_F(PlotFiles, APdfHoldsOnePageOfThePicture) {
    if (std::system("pdfinfo -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdfinfo (poppler-utils) reads the PDF back";
    ProgramRun run = this->run(std::string(kDrawing) + "PLOT Model plan.pdf\n");
    ASSERT_EQ(run.status, 0) << run.output;
    ProgramRun info = runCommand("pdfinfo '" + m_folder + "/plan.pdf'");
    EXPECT_EQ(info.status, 0) << info.output;
    auto field = [&](const std::string& name) {
        const std::size_t at = info.output.find(name + ":");
        if (at == std::string::npos)
            return std::string();
        const std::size_t start = info.output.find_first_not_of(' ', at + name.size() + 1);
        return info.output.substr(start, info.output.find('\n', start) - start);
    };
    EXPECT_EQ(field("Pages"), "1") << info.output;
    // 1000 by 546 pixels at 96 to the inch.
    EXPECT_EQ(field("Page size"), "750 x 409.5 pts") << info.output;
    // Rendered back at the painting's own resolution, the circle's rim is red where it was.
    ASSERT_EQ(runCommand("pdftoppm -png -r 96 -singlefile '" + m_folder + "/plan.pdf' '" +
                         m_folder + "/back'")
                  .status,
              0);
    cairo_surface_t* image = cairo_image_surface_create_from_png((m_folder + "/back.png").c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const int row = static_cast<int>(std::lround(6.0 * 1000.0 / 22.0));
    int reddish = 0;
    for (int x = 0; x < cairo_image_surface_get_width(image); ++x) {
        const std::uint32_t p =
            *reinterpret_cast<const std::uint32_t*>(data + row * stride + x * 4);
        reddish += ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 120 && (p & 0xFF) < 120;
    }
    EXPECT_GE(reddish, 2) << "the rim on both sides";
    cairo_surface_destroy(image);
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
