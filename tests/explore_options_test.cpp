// The explorer's command line: what each option answers, what GLUT keeps, what is refused, and
// every experiment of docs/experiments.tsv as the answers it gives. Numbers the dialog refuses
// (NaN, infinities, overflow) are refused by the same function, tested with the dialog.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "control/experiments.h"
#include "control/explore_options.h"

namespace {

struct parsed {
    options_verdict verdict;
    explore_options options;
    std::vector<std::string> kept;  // argv after the parse, the program's name first
    std::string message;
};

parsed parse(std::vector<std::string> words) {
    words.insert(words.begin(), "paravib-explore");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(&w[0]);
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    parsed p = {};
    char message[256] = "";
    p.verdict = parse_explore_options(&argc, argv.data(), &p.options, message, sizeof message);
    p.message = message;
    if (p.verdict == options_verdict::run)
        for (int i = 0; i < argc; ++i) p.kept.push_back(argv[i]);
    return p;
}

// Answers as "key|text|value value" per question, "-" for one not given.
std::string answers_of(const explore_options& o) {
    std::ostringstream out;
    for (const dialog_answer& a : o.answers) {
        if (!a.given) {
            out << "-;";
        } else if (a.key != '\0') {
            out << a.key << ";";
        } else {
            out << a.text << "|" << a.values[0] << " " << a.values[1] << ";";
        }
    }
    return out.str();
}

TEST(ExploreOptions, AcceptedCommandLines) {
    const struct {
        std::vector<std::string> words;
        std::string answers;
        bool chart;
        char language;
        std::vector<std::string> kept;
    } cases[] = {
        {{}, "-;-;-;-;", false, 'j', {"paravib-explore"}},
        {{"--system", "r", "--beta", "0.10", "--point", "-0.5", "2", "--initial", "1e-1", "0x1p1",
          "--chart", "--lang", "en"},
         "r;0.10|0.1 0;-0.5 2|-0.5 2;1e-1 0x1p1|0.1 2;",
         true,
         'e',
         {"paravib-explore"}},
        {{"--lang", "en", "--lang", "ja", "--beta", "1", "--beta", "2"},
         "-;2|2 0;-;-;",
         false,
         'j',
         {"paravib-explore"}},
        // Row 12: the square wave at (0.48, 0.5); explicit options win in either order.
        {{"--experiment", "12"},
         "r;0|0 0;0.48 0.5|0.48 0.5;1 0|1 0;",
         false,
         'j',
         {"paravib-explore"}},
        {{"--beta", "0.3", "--experiment", "12", "--system", "m"},
         "m;0.3|0.3 0;0.48 0.5|0.48 0.5;1 0|1 0;",
         false,
         'j',
         {"paravib-explore"}},
        {{"-geometry", "400x400+0+0", "--chart", "-sync", "-display", ":7"},
         "-;-;-;-;",
         true,
         'j',
         {"paravib-explore", "-geometry", "400x400+0+0", "-sync", "-display", ":7"}},
    };
    for (const auto& c : cases) {
        const parsed p = parse(c.words);
        SCOPED_TRACE(c.answers);
        ASSERT_EQ(p.verdict, options_verdict::run) << p.message;
        EXPECT_EQ(answers_of(p.options), c.answers);
        EXPECT_EQ(p.options.chart, c.chart);
        EXPECT_EQ(p.options.language, c.language);
        EXPECT_EQ(p.kept, c.kept);
    }
}

TEST(ExploreOptions, HelpVersionAndRefusals) {
    const std::string too_high = std::to_string(experiment_count + 1);
    const struct {
        std::vector<std::string> words;
        options_verdict verdict;
        std::string quoted;  // part of the message, for a refusal
    } cases[] = {
        {{"--chart", "--help", "--bogus"}, options_verdict::help, ""},
        {{"--version"}, options_verdict::version, ""},
        {{"--bogus", "--help"}, options_verdict::refused, "unknown option '--bogus'"},
        {{"0.1"}, options_verdict::refused, "unknown option '0.1'"},
        {{"--beta"}, options_verdict::refused, "--beta needs a value"},
        {{"--beta", "abc"}, options_verdict::refused, "finite number, not 'abc'"},
        {{"--beta", " 0.1"}, options_verdict::refused, "' 0.1'"},
        {{"--beta", ""}, options_verdict::refused, "''"},
        {{"--beta", std::string(513, '0')}, options_verdict::refused, "number, not '000"},
        {{"--point", "1"}, options_verdict::refused, "--point needs a value"},
        {{"--initial", "1", "y"}, options_verdict::refused, "two finite numbers, not 'y'"},
        {{"--system", "M"}, options_verdict::refused, "m or r, not 'M'"},
        {{"--system", "mr"}, options_verdict::refused, "'mr'"},
        {{"--lang", "fr"}, options_verdict::refused, "ja or en, not 'fr'"},
        {{"--experiment", "0"}, options_verdict::refused, "from 1 to"},
        {{"--experiment", too_high}, options_verdict::refused, "'" + too_high + "'"},
        {{"--experiment", "3x"}, options_verdict::refused, "'3x'"},
        {{"--experiment", "-1"}, options_verdict::refused, "'-1'"},
        {{"--experiment", "99999999999999999999"}, options_verdict::refused, "'9999"},
        {{"-display"}, options_verdict::refused, "-display needs a value"},
    };
    for (const auto& c : cases) {
        const parsed p = parse(c.words);
        SCOPED_TRACE(c.words.empty() ? "" : c.words[0] + " " + c.quoted);
        EXPECT_EQ(p.verdict, c.verdict);
        EXPECT_NE(p.message.find(c.quoted), std::string::npos) << p.message;
        EXPECT_EQ(p.message.find('\n'), std::string::npos);
    }
}

// Each row of the table file, as the option --experiment answers the dialog with it.
TEST(ExploreOptions, EveryExperimentAnswersWithItsRow) {
    std::ifstream table(EXPERIMENTS_TABLE);
    std::string line;
    std::getline(table, line);
    int rows = 0;
    while (std::getline(table, line)) {
        std::vector<std::string> f;
        std::stringstream in(line);
        for (std::string field; std::getline(in, field, '\t');) f.push_back(field);
        ASSERT_EQ(f.size(), 11u);
        const parsed p = parse({"--experiment", f[0]});
        ASSERT_EQ(p.verdict, options_verdict::run) << line;
        const dialog_answer* a = p.options.answers;
        EXPECT_EQ(std::string(1, a[0].key), f[1]);
        EXPECT_EQ(a[1].text, f[2]);
        EXPECT_EQ(a[2].text, f[3] + " " + f[4]);
        EXPECT_EQ(a[3].text, f[5] + " " + f[6]);
        EXPECT_EQ(a[2].values[1], std::stod(f[4]));
        EXPECT_EQ(experiments[rows].title_ja, f[10]);
        ++rows;
    }
    EXPECT_EQ(rows, experiment_count);
}

}  // namespace
