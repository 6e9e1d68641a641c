#include "model/FieldTable.h"

#include <gtest/gtest.h>

#include <string>

namespace zorlet {
namespace {

struct Sample {
    std::string name = "old";
    std::int64_t middle = -1;
    std::int64_t zeta = -1;
    bool alpha = true;
    int setterCalls = 0;
};

const FieldTable<Sample>& sampleFields() {
    // Declared out of key order on purpose: the table sorts itself.
    static const FieldTable<Sample> fields{
        {"zeta",
         [](Sample& s, const Json& v) {
             s.zeta = jsonIntValue(v);
             ++s.setterCalls;
         }},
        {"name",
         [](Sample& s, const Json& v) {
             s.name = jsonStringValue(v);
             ++s.setterCalls;
         }},
        {"alpha",
         [](Sample& s, const Json& v) {
             s.alpha = jsonBoolValue(v);
             ++s.setterCalls;
         }},
        {"middle",
         [](Sample& s, const Json& v) {
             s.middle = jsonIntValue(v);
             ++s.setterCalls;
         }},
    };
    return fields;
}

// Unknown keys before, between and after the known ones; one known key missing.
TEST(FieldTable, FindsEveryKnownKeyAmongUnknownOnesAndEmptiesTheMissingOne) {
    Sample sample;
    sampleFields().apply(sample, Json::parse(R"({
        "aaa": 1, "alpha": false, "mid": "x", "middle": "17", "nam": 3, "zz": 9, "zeta": 5
    })"));
    EXPECT_FALSE(sample.alpha);
    EXPECT_EQ(sample.middle, 17);
    EXPECT_EQ(sample.zeta, 5);
    EXPECT_EQ(sample.name, "") << "an absent key reads as empty";
    EXPECT_EQ(sample.setterCalls, 4);
}

TEST(FieldTable, AnEmptyOrNonObjectDictionaryEmptiesEveryField) {
    for (const Json& dictionary : {Json::object(), Json("text"), Json(), Json::array({1, 2})}) {
        Sample sample;
        sampleFields().apply(sample, dictionary);
        EXPECT_EQ(sample.name, "");
        EXPECT_EQ(sample.middle, 0);
        EXPECT_EQ(sample.zeta, 0);
        EXPECT_FALSE(sample.alpha);
        EXPECT_EQ(sample.setterCalls, 4) << dictionary.dump();
    }
}

TEST(FieldTable, KeysAreMatchedWholeAndByExactCase) {
    Sample sample;
    sampleFields().apply(sample,
                         Json::parse(R"({"Name": "upper", "names": "longer", "zet": 1, "zetas": 2})"));
    EXPECT_EQ(sample.name, "");
    EXPECT_EQ(sample.zeta, 0);
    sampleFields().apply(sample, Json::parse(R"({"name": "小明", "zeta": 7})"));
    EXPECT_EQ(sample.name, "小明");
    EXPECT_EQ(sample.zeta, 7);
}

}  // namespace
}  // namespace zorlet
