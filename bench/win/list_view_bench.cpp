// The configuration dialog's call list under Wine: filling a TDateSortListView with 100 000
// call rows, sorting it by the date column (as the dialog does when it is shown: column, then
// direction) and clicking the name column's header, first with the collation keys still to be
// made and then again. Prints the median and the range of several runs per step. Run through
// scripts/bench-wine (it needs a display).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "ui/win/Form.h"
#include "ui/win/SortListView.h"

namespace {

using namespace telvor;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 100000;
constexpr int kRuns = 5;

struct CallRow {
    std::string caption;
    std::string msn;
    std::string when;
    CallRowData data;
};

// Calls over about three years, a third of them from unknown numbers, names repeating as
// they do in a real list.
std::vector<CallRow> MakeCalls() {
    std::mt19937 random(4711);
    std::vector<CallRow> calls(kRows);
    double time = 45000.0;
    for (CallRow& call : calls) {
        const bool unknown = random() % 3 == 0;
        call.caption = unknown ? "0711 " + std::to_string(1000000 + random() % 9000000)
                               : "Anrufer " + std::to_string(random() % 5000);
        call.msn = "4711" + std::to_string(random() % 10);
        time += 0.01 * (random() % 100) / 50.0;
        call.when = std::to_string(static_cast<long>(time)) + " 12:34";
        call.data = {time, unknown};
    }
    std::shuffle(calls.begin(), calls.end(), random);  // an edited list is in no order
    return calls;
}

FormDef ListDef() {
    FormDef def{
        .name = "Bench", .caption = "1", .clientWidth = 440, .clientHeight = 260, .dialog = true};
    def.controls = {{.kind = ControlKind::DateSortListView,
                     .name = "CallsLV",
                     .left = 8,
                     .top = 16,
                     .width = 409,
                     .height = 201,
                     .tabOrder = 0,
                     .flags = kMultiSelect,
                     .columns = {{"12", 190}, {"13", 85}, {"14", 110}}}};
    return def;
}

// Processor time of this thread (user and kernel), in ms: unlike the wall clock it does not
// grow with the load of a shared machine.
double ThreadMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

struct Mark {
    Clock::time_point wall = Clock::now();
    double cpu = ThreadMs();
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Step {
    explicit Step(const char* text) : label(text) {}
    const char* label;
    std::vector<double> wall;
    std::vector<double> cpu;
    void Add(const Mark& from) {
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - from.wall).count());
        cpu.push_back(ThreadMs() - from.cpu);
    }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    LoadStartupTexts();
    const std::vector<CallRow> calls = MakeCalls();
    Step fill{"fill 100 000 call rows"}, byDate{"sort by date (column, direction)"},
        nameFirst{"click name header, keys to make"}, nameAgain{"click name header again"},
        dateClick{"click date header"};
    for (int run = 0; run < kRuns; ++run) {
        FormResult r = Form::Create(ListDef());
        if (!r.form) {
            std::fprintf(stderr, "form: %s\n", r.error.c_str());
            return 1;
        }
        r.form->Show();
        auto list = std::make_unique<TDateSortListView>(*r.form, "CallsLV");
        Pump();

        Mark start;
        list->Reserve(kRows);
        list->BeginUpdate();
        for (const CallRow& call : calls)
            list->AddCall(call.caption, call.msn, call.when, call.data);
        list->EndUpdate();
        UpdateWindow(list->Handle());
        fill.Add(start);

        start = Mark();
        list->SetSortedColumn(2);
        list->SetSortDirection(sdUp);
        UpdateWindow(list->Handle());
        byDate.Add(start);

        start = Mark();
        list->ColumnClick(0);
        UpdateWindow(list->Handle());
        nameFirst.Add(start);

        start = Mark();
        list->ColumnClick(0);
        UpdateWindow(list->Handle());
        nameAgain.Add(start);

        start = Mark();
        list->ColumnClick(2);
        UpdateWindow(list->Handle());
        dateClick.Add(start);

        if (list->RowCount() != kRows || list->CallData(0).time > list->CallData(kRows - 1).time) {
            std::fprintf(stderr, "wrong rows after sorting\n");
            return 1;
        }
        list.reset();
        r.form->Destroy();
        Pump();
    }
    std::printf("TDateSortListView, %d call rows, %d runs (ms; cpu = this thread's time)\n", kRows,
                kRuns);
    std::printf("%-36s %12s %10s %10s %10s\n", "step", "median cpu", "median", "min", "max");
    for (Step* step : {&fill, &byDate, &nameFirst, &nameAgain, &dateClick}) {
        std::vector<double> v = step->wall;
        std::sort(v.begin(), v.end());
        std::printf("%-36s %12.1f %10.1f %10.1f %10.1f\n", step->label, Median(step->cpu),
                    Median(v), v.front(), v.back());
    }
    return 0;
}
