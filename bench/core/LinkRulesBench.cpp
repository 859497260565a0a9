// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of routing one clicked link through 50 rules where only the last one matches, so every
// pattern is read: the router does this once per link before it starts a browser.
#include "LinkRules.h"

#include <benchmark/benchmark.h>

using namespace Tolvane;

namespace {

QList<LinkRule> fiftyRules() {
    QList<LinkRule> rules;
    for (int i = 0; i < 49; ++i) {
        // Sites, subdomain globs, path globs, ports and an internationalized name, as users write them.
        switch (i % 5) {
        case 0:
            rules.append(LinkRule{QString("site%1.example").arg(i), "a.desktop"});
            break;
        case 1:
            rules.append(LinkRule{QString("*.corp%1.example/wiki/*").arg(i), "b.desktop"});
            break;
        case 2:
            rules.append(LinkRule{QString("example.com/project%1/*/issues/*").arg(i), "c.desktop"});
            break;
        case 3:
            rules.append(LinkRule{QString("localhost:%1").arg(3000 + i), "d.desktop"});
            break;
        default:
            rules.append(LinkRule{QString("bücher%1.de").arg(i), "ask"});
            break;
        }
    }
    rules.append(LinkRule{"*.tolvane.example/docs/*", "e.desktop"});
    return rules;
}

void BM_FirstMatchOf50Rules(benchmark::State& state) {
    const QList<LinkRule> rules = fiftyRules();
    const WebLink url = *WebLink::read(u"https://www.tolvane.example/docs/guide/rules.html?from=mail#top");
    if (firstMatchingRule(rules, url) != 49) {
        state.SkipWithError("the last rule should be the match");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(firstMatchingRule(rules, url));
}
BENCHMARK(BM_FirstMatchOf50Rules)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
