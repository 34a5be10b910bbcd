#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rx/dictionary.h"
#include "rx/dynlinker.h"

namespace {

class Probe : public AcRxService {
public:
    explicit Probe(int* deletions = nullptr) : m_deletions(deletions) {}
    ~Probe() override {
        if (m_deletions != nullptr)
            ++*m_deletions;
    }

private:
    int* m_deletions;
};

std::vector<std::wstring> keys(const AcRxDictionary& dict, AcRx::DictIterType type) {
    std::vector<std::wstring> out;
    AcRxDictionaryIterator* it = dict.newIterator(type);
    for (; !it->done(); it->next())
        out.emplace_back(it->key());
    delete it;
    return out;
}

TEST(RxDictionary, IteratesSortedOrInInsertionOrder) {
    AcRxDictionary dict;
    Probe a, b, c;
    dict.atPut(L"Zeta", &a);
    dict.atPut(L"Alpha", &b);
    dict.atPut(L"Mu", &c);
    EXPECT_EQ(keys(dict, AcRx::kDictSorted), (std::vector<std::wstring>{L"Alpha", L"Mu", L"Zeta"}));
    EXPECT_EQ(keys(dict, AcRx::kDictCollated),
              (std::vector<std::wstring>{L"Zeta", L"Alpha", L"Mu"}));
}

TEST(RxDictionary, ClassDictionaryIteratesInSortedKeyOrder) {
    std::vector<std::wstring> sorted = keys(*acrxClassDictionary(), AcRx::kDictSorted);
    ASSERT_GE(sorted.size(), 5u);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
}

TEST(RxDictionary, PutReplaceRemoveAndLookup) {
    AcRxDictionary dict;
    Probe a, b;
    EXPECT_EQ(dict.atPut(L"key", &a), nullptr);
    EXPECT_EQ(dict.atPut(L"key", &b), &a);
    EXPECT_EQ(dict.at(L"key"), &b);
    EXPECT_EQ(dict.at(L"KEY"), nullptr);
    EXPECT_EQ(dict.numEntries(), 1u);
    EXPECT_EQ(dict.remove(L"key"), &b);
    EXPECT_EQ(dict.remove(L"key"), nullptr);
    EXPECT_FALSE(dict.has(L"key"));
    EXPECT_EQ(dict.at(nullptr), nullptr);
    EXPECT_EQ(dict.atPut(nullptr, &a), nullptr);
    EXPECT_EQ(dict.numEntries(), 0u);
}

TEST(RxDictionary, ReplacedEntryKeepsItsPlaceInInsertionOrder) {
    AcRxDictionary dict;
    Probe a, b, c;
    dict.atPut(L"first", &a);
    dict.atPut(L"second", &b);
    dict.atPut(L"first", &c);
    EXPECT_EQ(keys(dict, AcRx::kDictCollated), (std::vector<std::wstring>{L"first", L"second"}));
}

TEST(RxDictionary, IteratorSkipsEntriesRemovedWhileWalking) {
    AcRxDictionary dict;
    Probe a, b, c;
    dict.atPut(L"a", &a);
    dict.atPut(L"b", &b);
    dict.atPut(L"c", &c);
    AcRxDictionaryIterator* it = dict.newIterator(AcRx::kDictSorted);
    EXPECT_STREQ(it->key(), L"a");
    dict.remove(L"b");
    it->next();
    EXPECT_STREQ(it->key(), L"c");
    EXPECT_EQ(it->object(), &c);
    EXPECT_FALSE(it->next());
    EXPECT_TRUE(it->done());
    EXPECT_EQ(it->key(), nullptr);
    delete it;
}

TEST(RxDictionary, OwningDictionaryDeletesItsEntries) {
    int deletions = 0;
    auto* dict = new AcRxDictionary(true);
    dict->atPut(L"one", new Probe(&deletions));
    dict->atPut(L"two", new Probe(&deletions));
    delete dict;
    EXPECT_EQ(deletions, 2);
}

TEST(RxDictionary, ServicesAreFoundByName) {
    Probe service;
    EXPECT_FALSE(acrxServiceIsRegistered(L"ProbeService"));
    EXPECT_EQ(acrxDynamicLinker()->registerService(L"ProbeService", &service), &service);
    EXPECT_TRUE(acrxServiceIsRegistered(L"ProbeService"));
    EXPECT_EQ(acrxServiceDictionary()->at(L"ProbeService"), &service);
    EXPECT_EQ(acrxDynamicLinker()->unregisterService(L"ProbeService"), &service);
    EXPECT_FALSE(acrxServiceIsRegistered(L"ProbeService"));
}

} // namespace
