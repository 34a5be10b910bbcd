#pragma once

#include <string>
#include <vector>

#include "db/entity.h"

#pragma GCC visibility push(default)

// Stands in for a drawing record whose class is not known here (or that asked to be kept as it is
// with eMakeMeProxy): the object-level data is understood, the rest is kept as bytes and written
// back unchanged under the original class name.
class AcDbProxyObject : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcDbProxyObject);

    AcDbProxyObject();
    ~AcDbProxyObject() override;

    const wchar_t* originalClassName() const;
    const wchar_t* originalDxfName() const;
    const wchar_t* applicationDescription() const;
    const std::vector<unsigned char>& proxyData() const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    friend struct SvDbAccess;
    std::wstring m_className;
    std::wstring m_dxfName;
    std::wstring m_appName;
    std::vector<unsigned char> m_data;
};

class AcDbProxyEntity : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbProxyEntity);

    AcDbProxyEntity();
    ~AcDbProxyEntity() override;

    const wchar_t* originalClassName() const;
    const wchar_t* originalDxfName() const;
    const wchar_t* applicationDescription() const;
    const std::vector<unsigned char>& proxyData() const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    friend struct SvDbAccess;
    std::wstring m_className;
    std::wstring m_dxfName;
    std::wstring m_appName;
    std::vector<unsigned char> m_data;
};

#pragma GCC visibility pop
