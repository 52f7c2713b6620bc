// The reader on damaged files: each case of the table loads what its file still holds whole,
// and lists what it tolerated.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/reader/DamagedModels.h"
#include "tests/reader/LoadedModel.h"

using test_models::DamagedModel;

namespace test_models {
// Names the case in failure messages instead of printing its bytes.
void PrintTo(const DamagedModel& model, std::ostream* out) {
    *out << model.name;
}
}  // namespace test_models

namespace {

class DamagedFile : public testing::TestWithParam<DamagedModel> {};

TEST_P(DamagedFile, LoadsWhatItHoldsWhole) {
    const DamagedModel& model = GetParam();
    ModelFile file(model.bytes);
    Scene scene(file.path());
    EXPECT_EQ(DumpOf(scene), model.dump);
    EXPECT_EQ(ProblemsOf(scene), model.problems);
    EXPECT_LE(scene.bytesRead, static_cast<std::int32_t>(model.bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedFile, testing::ValuesIn(test_models::DamagedModels()),
                         [](const testing::TestParamInfo<DamagedModel>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
