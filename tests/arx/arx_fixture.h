#pragma once

// The application module loaded from the build's output folder into a host with one open
// drawing, a captured command line and scripted answers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AcPropertyLinkStyleMgr.h"
#include "ap/docman.h"
#include "dbx/dbx_test_support.h"
#include "dbx/link_fixture.h"
#include "ed/input.h"
#include "rx/abort.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"

namespace arxtest {

[[noreturn]] inline void failOnAbort(const wchar_t* message) {
    const std::wstring text(message);
    throw std::runtime_error(std::string(text.begin(), text.end()));
}

inline std::wstring arxPath() {
    return binDirW() + L"/SentavellUi17.arx";
}

class ArxTest : public testing::Test {
protected:
    void SetUp() override {
        acrxSetAbortHandler(&failOnAbort);
        ASSERT_TRUE(acrxLoadModule(arxPath().c_str(), false));
        mgr = AcPropertyLinkStyleMgr::cast(acrxServiceDictionary()->at(L"AcPropertyLinkStyleMgr"));
        ASSERT_NE(mgr, nullptr);
        newDrawing();
    }
    void TearDown() override {
        svSetInputSource(nullptr);
        acDocManager->closeAll();
        acrxSetAbortHandler(nullptr);
    }

    void newDrawing() {
        ASSERT_EQ(acDocManager->newDocument(doc), Acad::eOk);
        db = doc->database();
        db->setLuprec(1);
    }

    AcDbObjectId addStyle(const wchar_t* name, AcPropertyLinkStyle* style) {
        AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForWrite);
        EXPECT_NE(styles, nullptr);
        AcDbObjectId id;
        EXPECT_EQ(styles->setAt(name, style, id), Acad::eOk);
        style->close();
        styles->close();
        return id;
    }

    void answer(std::vector<std::wstring> lines) {
        input = std::make_unique<SvScriptedInput>(std::move(lines));
        svSetInputSource(input.get());
    }

    static std::wstring handleOf(AcDbObjectId id) {
        wchar_t hex[32];
        id.handle().getIntoAsciiBuffer(hex, 32);
        return L"#" + std::wstring(hex);
    }

    bool printed(const std::wstring& part) const {
        return output.text().find(part) != std::wstring::npos;
    }

    AcPropertyLinkStyleMgr* mgr = nullptr;
    AcApDocument* doc = nullptr;
    AcDbDatabase* db = nullptr;
    OutputCapture output;
    std::unique_ptr<SvScriptedInput> input;
};

} // namespace arxtest
