#include "db/database.h"
#include "db/dictionary.h"
#include "db/proxy.h"
#include "db/symboltable.h"
#include "rx/builtin_classes.h"

SV_RX_DEFINE_SHORT_MEMBERS(AcDbObjectReactor, AcRxObject, 0)
SV_RX_DEFINE_MEMBERS(AcDbObject, newAcRxClass(L"AcDbObject", L"AcRxObject", 0, 0, 0,
                                              &acrxPseudoConstruct<AcDbObject>, L"OBJECT", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbEntity, newAcRxClass(L"AcDbEntity", L"AcDbObject", 0, 0, 0,
                                              &acrxPseudoConstruct<AcDbEntity>, L"ENTITY", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbDictionary,
                     newAcRxClass(L"AcDbDictionary", L"AcDbObject", 0, 0, 0,
                                  &acrxPseudoConstruct<AcDbDictionary>, L"DICTIONARY", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbSymbolTable,
                     newAcRxClass(L"AcDbSymbolTable", L"AcDbObject", 0, 0, 0,
                                  &acrxPseudoConstruct<AcDbSymbolTable>, L"TABLE", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbBlockTable,
                     newAcRxClass(L"AcDbBlockTable", L"AcDbSymbolTable", 0, 0, 0,
                                  &acrxPseudoConstruct<AcDbBlockTable>, L"BLOCK_TABLE", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbSymbolTableRecord,
                     newAcRxClass(L"AcDbSymbolTableRecord", L"AcDbObject", 0, 0, 0,
                                  &acrxPseudoConstruct<AcDbSymbolTableRecord>, L"SYMBOL", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbBlockTableRecord,
                     newAcRxClass(L"AcDbBlockTableRecord", L"AcDbSymbolTableRecord", 0, 0, 0,
                                  &acrxPseudoConstruct<AcDbBlockTableRecord>, L"BLOCK_RECORD",
                                  nullptr))
SV_RX_DEFINE_MEMBERS(AcDbProxyObject, newAcRxClass(L"AcDbProxyObject", L"AcDbObject", 0, 0, 0,
                                                   &acrxPseudoConstruct<AcDbProxyObject>,
                                                   L"ACAD_PROXY_OBJECT", nullptr))
SV_RX_DEFINE_MEMBERS(AcDbProxyEntity, newAcRxClass(L"AcDbProxyEntity", L"AcDbEntity", 0, 0, 0,
                                                   &acrxPseudoConstruct<AcDbProxyEntity>,
                                                   L"ACAD_PROXY_ENTITY", nullptr))
SV_RX_DEFINE_SHORT_MEMBERS(AcDbDatabase, AcRxObject, 0)

namespace {

void registerDbClasses() {
    AcDbObjectReactor::rxInit();
    AcDbObject::rxInit();
    AcDbEntity::rxInit();
    AcDbDictionary::rxInit();
    AcDbSymbolTable::rxInit();
    AcDbBlockTable::rxInit();
    AcDbSymbolTableRecord::rxInit();
    AcDbBlockTableRecord::rxInit();
    AcDbProxyObject::rxInit();
    AcDbProxyEntity::rxInit();
    AcDbDatabase::rxInit();
}

SvBuiltinClasses registrar(&registerDbClasses);

} // namespace
