#include "db/mtext.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <vector>

#include "common.h"
#include "db/acutbuffer.h"
#include "db/extents.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;
// Baseline to baseline, as a multiple of the character height.
constexpr double kLineSpacing = 5.0 / 3.0;

// The contents as plain text: codes dropped, paragraphs as line breaks, stacked fractions as
// "a/b".
std::wstring plainText(const std::wstring& contents) {
    std::wstring out;
    const std::size_t n = contents.size();
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = contents[i];
        if (c == L'{' || c == L'}')
            continue;
        if (c != L'\\' || i + 1 >= n) {
            out += c;
            continue;
        }
        const wchar_t code = contents[++i];
        switch (code) {
        case L'P':
            out += L'\n';
            break;
        case L'~':
            out += L' ';
            break;
        case L'L':
        case L'l':
        case L'O':
        case L'o':
        case L'K':
        case L'k':
            break;
        case L'S':
            while (i + 1 < n && contents[i + 1] != L';') {
                const wchar_t s = contents[++i];
                out += (s == L'^' || s == L'#') ? L'/' : s;
            }
            ++i;
            break;
        case L'f':
        case L'F':
        case L'H':
        case L'W':
        case L'Q':
        case L'T':
        case L'A':
        case L'C':
        case L'c':
        case L'p':
            while (i + 1 < n && contents[i + 1] != L';')
                ++i;
            ++i;
            break;
        default:
            out += code; // \\, \{, \} and any code not known: the character itself
            break;
        }
    }
    return out;
}

// Lines as placed: paragraphs, each wrapped at the reference width when there is one.
// Counted in a double: a tiny width over a long text wraps into more lines than an int holds.
double lineCount(const std::wstring& plain, double width, double charWidth, double& longest) {
    double lines = 0.0;
    longest = 0.0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = plain.find(L'\n', start);
        const std::size_t length = (end == std::wstring::npos ? plain.size() : end) - start;
        const double span = static_cast<double>(length) * charWidth;
        if (width > 0.0 && span > width) {
            lines += std::ceil(span / width);
            longest = width;
        } else {
            lines += 1.0;
            longest = std::max(longest, span);
        }
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// The paragraphs, each broken at spaces into lines of at most `wrapAt` characters.
std::vector<std::wstring> wrappedLines(const std::wstring& content, std::size_t wrapAt) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = content.find(L'\n', start);
        std::wstring paragraph =
            content.substr(start, end == std::wstring::npos ? end : end - start);
        while (paragraph.size() > wrapAt) {
            std::size_t cut = paragraph.rfind(L' ', wrapAt);
            if (cut == std::wstring::npos || cut == 0)
                cut = wrapAt;
            lines.push_back(paragraph.substr(0, cut));
            paragraph = paragraph.substr(cut + (paragraph[cut] == L' ' ? 1 : 0));
        }
        lines.push_back(paragraph);
        if (end == std::wstring::npos)
            return lines;
        start = end + 1;
    }
}

} // namespace

AcDbMText::AcDbMText() = default;
AcDbMText::~AcDbMText() = default;

wchar_t* AcDbMText::contents() const {
    assertReadEnabled();
    return acutNewString(m_contents.c_str());
}

const wchar_t* AcDbMText::contentsConst() const {
    assertReadEnabled();
    return m_contents.c_str();
}

Acad::ErrorStatus AcDbMText::setContents(const wchar_t* text) {
    if (text == nullptr)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_contents = text;
    return Acad::eOk;
}

wchar_t* AcDbMText::text() const {
    assertReadEnabled();
    return acutNewString(plainText(m_contents).c_str());
}

AcGePoint3d AcDbMText::location() const {
    assertReadEnabled();
    return m_location;
}

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_location = point;
    return Acad::eOk;
}

double AcDbMText::textHeight() const {
    assertReadEnabled();
    return m_textHeight;
}

Acad::ErrorStatus AcDbMText::setTextHeight(double height) {
    if (!std::isfinite(height) || !(height > 0.0))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_textHeight = height;
    return Acad::eOk;
}

double AcDbMText::width() const {
    assertReadEnabled();
    return m_width;
}

Acad::ErrorStatus AcDbMText::setWidth(double width) {
    if (!std::isfinite(width) || width < 0.0)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_width = width;
    return Acad::eOk;
}

double AcDbMText::actualHeight() const {
    assertReadEnabled();
    double longest = 0.0;
    const double lines = lineCount(plainText(m_contents), m_width, m_textHeight, longest);
    return m_textHeight * (1.0 + kLineSpacing * (lines - 1.0));
}

double AcDbMText::height() const {
    return actualHeight();
}

double AcDbMText::rotation() const {
    assertReadEnabled();
    return m_rotation;
}

Acad::ErrorStatus AcDbMText::setRotation(double rotation) {
    if (!std::isfinite(rotation))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_rotation = ge::normalizeAngle(rotation);
    return Acad::eOk;
}

AcDbMText::AttachmentPoint AcDbMText::attachment() const {
    assertReadEnabled();
    return m_attachment;
}

Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint attachment) {
    if (attachment < kTopLeft || attachment > kBottomRight)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_attachment = attachment;
    return Acad::eOk;
}

AcGeVector3d AcDbMText::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

AcGeVector3d AcDbMText::direction() const {
    assertReadEnabled();
    return svent::directionInPlane(m_rotation, m_normal);
}

AcDbObjectId AcDbMText::textStyle() const {
    assertReadEnabled();
    return m_style;
}

Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId style) {
    assertWriteEnabled();
    m_style = style;
    return Acad::eOk;
}

// Paragraphs wrapped at the reference width, one line under the other from the attachment.
void AcDbMText::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    const double perLine = m_width / m_textHeight;
    const std::size_t wrapAt = perLine >= 1.0 && perLine < 1e6  ? static_cast<std::size_t>(perLine)
                               : perLine > 0.0 && perLine < 1.0 ? 1
                                                                : std::wstring::npos;
    const std::vector<std::wstring> lines = wrappedLines(plainText(m_contents), wrapAt);
    const int column = (m_attachment - 1) % 3;
    const int row = (m_attachment - 1) / 3;
    const double total =
        m_textHeight + m_textHeight * kLineSpacing * (static_cast<double>(lines.size()) - 1.0);
    AcGiText text;
    text.direction = direction();
    text.normal = m_normal;
    text.height = m_textHeight;
    text.anchor = static_cast<AcGiTextAnchor>(column);
    text.style = m_style;
    const AcGeVector3d up = m_normal.crossProduct(text.direction);
    const AcGePoint3d top = m_location + up * (total * row / 2.0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text.content = lines[i];
        text.position =
            top - up * (m_textHeight + m_textHeight * kLineSpacing * static_cast<double>(i));
        mode->geometry().text(text);
    }
}

Acad::ErrorStatus AcDbMText::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    double longest = 0.0;
    const double lines = lineCount(plainText(m_contents), m_width, m_textHeight, longest);
    const double w = m_width > 0.0 ? m_width : longest;
    const double h = m_textHeight * (1.0 + kLineSpacing * (lines - 1.0));
    const int column = (m_attachment - 1) % 3; // left, centre, right
    const int row = (m_attachment - 1) / 3;    // top, middle, bottom
    const AcGeVector3d along = direction();
    const AcGeVector3d up = m_normal.crossProduct(along);
    const AcGePoint3d topLeft = m_location - along * (w * column / 2.0) + up * (h * row / 2.0);
    extents.addPoint(topLeft);
    extents.addPoint(topLeft + along * w);
    extents.addPoint(topLeft - up * h);
    extents.addPoint(topLeft + along * w - up * h);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    double rotation = svent::angleInPlane(xform * direction(), normal);
    if (xform.isMirroring())
        rotation = ge::normalizeAngle(rotation + ge::kPi); // kept readable
    const double scale = xform.scale();
    m_location = xform * m_location;
    m_normal = normal;
    m_rotation = rotation;
    m_textHeight *= scale;
    m_width *= scale;
    return Acad::eOk;
}

void AcDbMText::list() const {
    AcDbEntity::list();
    svent::listPoint(L"location:", m_location);
    svent::listNumber(L"width:", m_width);
    svent::listNumber(L"text height:", m_textHeight);
    svent::listAngle(L"rotation:", m_rotation);
    static const wchar_t* const attachments[] = {L"TopLeft",    L"TopCenter",    L"TopRight",
                                                 L"MiddleLeft", L"MiddleCenter", L"MiddleRight",
                                                 L"BottomLeft", L"BottomCenter", L"BottomRight"};
    svent::listLine(L"attachment:", attachments[m_attachment - 1]);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
    svent::listQuoted(L"contents:", m_contents.c_str());
}

Acad::ErrorStatus AcDbMText::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_contents.c_str());
    svent::writePoint(filer, m_location);
    svent::writeVector(filer, m_normal);
    filer->writeDouble(m_textHeight);
    filer->writeDouble(m_width);
    filer->writeDouble(m_rotation);
    filer->writeInt16(static_cast<Adesk::Int16>(m_attachment));
    filer->writeHardPointerId(m_style);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbMText::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring contents = svent::readText(filer);
    const AcGePoint3d location = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const double textHeight = svent::readReal(filer);
    const double width = svent::readReal(filer);
    const double rotation = svent::readReal(filer);
    Adesk::Int16 attachment = 0;
    filer->readInt16(&attachment);
    AcDbObjectId style;
    filer->readHardPointerId(&style);
    svent::require(filer, textHeight > 0.0 && width >= 0.0 && attachment >= kTopLeft &&
                              attachment <= kBottomRight);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_contents = std::move(contents);
    m_location = location;
    m_normal = normal;
    m_textHeight = textHeight;
    m_width = width;
    m_rotation = ge::normalizeAngle(rotation);
    m_attachment = static_cast<AttachmentPoint>(attachment);
    m_style = style;
    return Acad::eOk;
}
