// The experiments of docs/experiments.tsv: each row's verdict and largest multiplier modulus are
// those of the Floquet analysis at its point.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stability/floquet.h"

namespace {

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

TEST(Experiments, EveryRowIsWhatFloquetAnalysisGives) {
    std::ifstream table(EXPERIMENTS_TABLE);
    ASSERT_TRUE(table) << EXPERIMENTS_TABLE;
    std::string line;
    std::getline(table, line);
    EXPECT_EQ(line,
              "number\tsystem\tbeta\tdelta\tepsilon\ty0\tv0\texpect\tmu_max\ttitle_en\ttitle_ja");
    int rows = 0;
    while (std::getline(table, line)) {
        const std::vector<std::string> f = fields_of(line);
        ASSERT_EQ(f.size(), 11u) << line;
        SCOPED_TRACE("experiment " + f[0]);
        EXPECT_EQ(f[0], std::to_string(++rows));
        const transfer_matrix m =
            floquet_monodromy(f[1][0], std::stod(f[2]), std::stod(f[3]), std::stod(f[4]));
        EXPECT_EQ(f[7], floquet_is_stable(m) ? "stable" : "unstable");
        char mu[32];
        std::snprintf(mu, sizeof mu, "%#.4g", floquet_max_modulus(m));
        EXPECT_EQ(f[8], mu);
        EXPECT_FALSE(f[9].empty() || f[10].empty());
    }
    EXPECT_GE(rows, 12);
}

}  // namespace
