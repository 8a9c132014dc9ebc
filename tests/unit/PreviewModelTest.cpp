// The program preview's walk, against figures worked out by hand, and against a plain
// line-by-line run of random programs.
#include "preview/ProgramPreview.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <map>

using namespace Preview;

namespace {

std::vector<TFinding::Kind> Kinds(const TListPreview& p) {
    std::vector<TFinding::Kind> kinds;
    for (const TFinding& f : p.findings)
        kinds.push_back(f.kind);
    return kinds;
}

std::vector<int> Lines(const TListPreview& p) {
    std::vector<int> lines;
    for (const TFinding& f : p.findings)
        lines.push_back(f.line);
    return lines;
}

} // namespace

TEST(PreviewModel, DirectionsSpeedsAndPausesGiveTheFiguresWorkedByHand) {
    const TListPreview p =
        PreviewList({"LD1", "BG", "SD100", "DL", "MV300", "DR", "MV500", "RS", "MV100", "SP500", "ED"});
    ASSERT_EQ(p.programs.size(), 1u);
    EXPECT_TRUE(p.findings.empty());
    const TProgram& program = p.programs[0];
    EXPECT_EQ(program.channel, 1);
    EXPECT_EQ(program.firstLine, 0);
    EXPECT_EQ(program.lastLine, 10);
    const TMotionEffect& m = program.motion;
    EXPECT_EQ(m.moves, 3);
    EXPECT_EQ(m.stepsForward, 400);
    EXPECT_EQ(m.stepsBackward, 500);
    EXPECT_EQ(m.end, -100);
    EXPECT_EQ(m.relativeLow, -200);
    EXPECT_EQ(m.relativeHigh, 300);
    EXPECT_DOUBLE_EQ(m.pausesMs, 500);
    EXPECT_DOUBLE_EQ(m.seconds, 9.5); // 900 steps at 100 per second, and half a second's pause
    EXPECT_EQ(m.openLine, -1);
    EXPECT_FALSE(m.speedAssumed);
    // The plot: a point at every move's and pause's end.
    const std::vector<QPointF> expected{{0, 0}, {3, 300}, {8, -200}, {9, -100}, {9.5, -100}};
    EXPECT_EQ(program.path, expected);
}

TEST(PreviewModel, LoopsNestedInABufferAlternateWithAReverse) {
    // The buffer: three moves of 10 (MV10 and JP2's two repetitions), a reverse, a move of 5;
    // run three times, each run starting in the direction the last one left.
    const TListPreview p =
        PreviewList({"LD2", "SD200", "DL", "LB", "LL", "MV10", "JP2", "RS", "MV5", "SB3", "ED"});
    ASSERT_EQ(p.programs.size(), 1u);
    EXPECT_TRUE(p.findings.empty()) << p.findings.size();
    const TMotionEffect& m = p.programs[0].motion;
    EXPECT_EQ(m.moves, 12);
    EXPECT_EQ(m.stepsForward, 65);
    EXPECT_EQ(m.stepsBackward, 40);
    EXPECT_EQ(m.end, 25);
    EXPECT_EQ(m.relativeLow, -5);
    EXPECT_EQ(m.relativeHigh, 30);
    EXPECT_DOUBLE_EQ(m.seconds, 105.0 / 200);
}

TEST(PreviewModel, AfterAnHmPositionsAreAbsolute) {
    const TListPreview p =
        PreviewList({"LD1", "SD100", "DL", "MV50", "HM", "DR", "MV20", "DL", "MV70", "ED"});
    const TMotionEffect& m = p.programs.at(0).motion;
    EXPECT_EQ(m.relativeLow, 0);
    EXPECT_EQ(m.relativeHigh, 50);
    EXPECT_TRUE(m.homes);
    EXPECT_EQ(m.absoluteLow, -20);
    EXPECT_EQ(m.absoluteHigh, 50);
    EXPECT_EQ(m.end, 50);
    EXPECT_EQ(m.stepsForward, 120);
    EXPECT_EQ(m.stepsBackward, 20);
    EXPECT_DOUBLE_EQ(m.seconds, 1.4);
    EXPECT_TRUE(m.homingNotTimed);
    EXPECT_EQ(p.programs[0].path.at(2), QPointF(0.5, 0)) << "the HM's jump to the switch";
}

TEST(PreviewModel, WhatCannotBeKnownIsOpenEndedFromItsLine) {
    const TListPreview endless = PreviewList({"LD1", "SD100", "DL", "MV100", "MV", "MV100", "ED"});
    const TMotionEffect& m = endless.programs.at(0).motion;
    EXPECT_EQ(m.openLine, 4);
    EXPECT_EQ(m.positionUnknownLine, 4);
    EXPECT_EQ(m.moves, 3);
    EXPECT_EQ(endless.programs[0].path.size(), 2u) << "the plot ends where the motion can't be known";

    const TListPreview wait = PreviewList({"LD1", "SD100", "DL", "WL2", "MV100", "ML1", "ED"});
    const TMotionEffect& w = wait.programs.at(0).motion;
    EXPECT_EQ(w.openLine, 3) << "a wait: the time can't be known";
    EXPECT_EQ(w.positionUnknownLine, 5) << "a move until a signal: nor the position";
}

TEST(PreviewModel, EachFindingNamesItsLine) {
    const TListPreview p = PreviewList({
        "MV100", // 0: a direct command
        "LD1",   // 1
        "MV5",   // 2: a move before any speed and any direction
        "JP3",   // 3: no label
        "SB2",   // 4: no buffer
        "LL",    // 5
        "JP0",   // 6: repeats nothing
        "LB",    // 7: never repeated
        "XX1",   // 8: no command
        "ED",    // 9
        "ED",    // 10: no block
        "LD1",   // 11: channel 1 again, and never ended
        "SDx",   // 12: no number
    });
    using F = TFinding;
    EXPECT_EQ(Kinds(p), (std::vector<F::Kind>{F::MoveBeforeSpeed, F::MoveBeforeDirection, F::JumpWithoutLabel,
                                              F::RepeatWithoutBuffer, F::ZeroRepetitions, F::BufferNeverRun,
                                              F::WrongCommand, F::EndWithoutBlock, F::ChannelWrittenTwice,
                                              F::BlockWithoutEnd, F::BadArgument}));
    EXPECT_EQ(Lines(p), (std::vector<int>{2, 2, 3, 4, 6, 7, 8, 10, 11, 11, 12}));
    EXPECT_EQ(p.directLines, (std::vector<int>{0}));
    ASSERT_EQ(p.programs.size(), 2u);
    EXPECT_TRUE(p.programs[0].motion.speedAssumed);
    EXPECT_DOUBLE_EQ(p.programs[0].motion.seconds, 5 / ControllerSpeed);
    EXPECT_EQ(p.programs[0].motion.moves, 1) << "the buffer never repeated never ran";

    const TListPreview none = PreviewList({"SD100", "MV5"});
    EXPECT_EQ(Kinds(none), (std::vector<F::Kind>{F::NoBlock}));
    EXPECT_EQ(none.directLines, (std::vector<int>{0, 1}));
    EXPECT_TRUE(PreviewList({}).findings.empty());
}

TEST(PreviewModel, TheFirstLineLeavingTheTravelIsFoundInsideLoops) {
    TTravelLimits travel;
    travel[1] = {true, 0, 550};
    // Each run of the loop goes 100 further: the sixth reaches 600.
    const TListPreview p = PreviewList({"LD1", "SD100", "DL", "LL", "MV100", "JP9", "ED"}, travel);
    ASSERT_EQ(p.programs.size(), 1u);
    EXPECT_EQ(p.programs[0].leavesTravelAt, 4);
    EXPECT_EQ(p.programs[0].leavesTravelTo, 600);
    ASSERT_EQ(p.findings.size(), 1u);
    EXPECT_EQ(p.findings[0].kind, TFinding::LeavesTravel);
    EXPECT_EQ(p.FirstLeavingTravel(), &p.programs[0]);

    // Backwards below the lowest, in the second move of a buffer's third run.
    travel[2] = {true, -25, 1000};
    const TListPreview down = PreviewList(
        {"LD2", "SD100", "DR", "LB", "MV1", "MV10", "SB5", "ED", "LD1", "SD1", "DL", "MV1", "ED"}, travel);
    EXPECT_EQ(down.programs.at(0).leavesTravelAt, 5);
    EXPECT_EQ(down.programs[0].leavesTravelTo, -33);
    EXPECT_EQ(down.programs.at(1).leavesTravelAt, -1);
    EXPECT_EQ(down.FirstLeavingTravel(), &down.programs[0]);

    // A channel whose travel is off is not checked, and an unknown position ends the check.
    travel[1].on = false;
    EXPECT_EQ(PreviewList({"LD1", "SD1", "DL", "MV100000", "ED"}, travel).programs[0].leavesTravelAt, -1);
    travel[1] = {true, 0, 100};
    EXPECT_EQ(PreviewList({"LD1", "SD1", "DL", "ML1", "MV100000", "ED"}, travel).programs[0].leavesTravelAt,
              -1);
}

TEST(PreviewModel, HugeRepetitionsAreCountedExactlyWithoutWalkingThem) {
    // 10^7 steps, 256 times over, 250 times over: 6.4 * 10^11 steps.
    const TListPreview p =
        PreviewList({"LD3", "SD1", "DL", "LB", "LL", "MV10000000", "JP255", "SB250", "ED"});
    const TProgram& program = p.programs.at(0);
    EXPECT_EQ(program.motion.stepsForward, 640'000'000'000LL);
    EXPECT_EQ(program.motion.moves, 64'000);
    EXPECT_DOUBLE_EQ(program.motion.seconds, 640'000'000'000.0);
    EXPECT_TRUE(program.pathCut) << "64,000 moves: cut at the points' limit";
    EXPECT_EQ(program.path.size(), size_t(MaxPathPoints));
}

TEST(PreviewModel, HostileListsEndWithTheirFindings) {
    QStringList deep{"LD1", "SD100", "DL", "LL", "MV1"};
    for (int i = 0; i < MaxNesting + 5; ++i)
        deep << "MV1"
             << "JP1";
    deep << "ED";
    QStringList huge{"LD1", "SD1", "DL", "LL", "MV10000000"};
    for (int i = 0; i < 10; ++i)
        huge << "JP255";
    huge << "ED";
    using F = TFinding;
    const struct {
        QStringList lines;
        std::vector<F::Kind> kinds; // in line order
        std::vector<int> lines_;
    } cases[] = {
        // Repeats of nothing, nested: each is a finding, and costs nothing.
        {{"LD1", "LL", "JP255", "JP255", "JP255", "JP255", "JP255", "ED"},
         {F::EmptyRepeat, F::EmptyRepeat, F::EmptyRepeat, F::EmptyRepeat, F::EmptyRepeat},
         {2, 3, 4, 5, 6}},
        {{"LD1", "LB", "SB250", "ED"}, {F::EmptyRepeat}, {2}},
        // Arguments beyond what the controller takes are refused, not walked.
        {{"LD1", "SD10", "DL", "LL", "MV1", "JP2147483647", "JP9223372036854775807", "ED"},
         {F::BadArgument, F::BadArgument},
         {5, 6}},
        {{"LD1", "SD10", "DL", "MV10000001", "LB", "MV1", "SB251", "SD10001", "ED"},
         {F::BadArgument, F::BufferNeverRun, F::BadArgument, F::BadArgument},
         {3, 4, 6, 7}},
        // Nesting beyond the limit is left out and said; 2^100 moves are beyond what is counted.
        {deep,
         {F::BeyondRange, F::NestedTooDeep, F::NestedTooDeep, F::NestedTooDeep, F::NestedTooDeep,
          F::NestedTooDeep},
         {0, 5 + 2 * MaxNesting + 1, 5 + 2 * MaxNesting + 3, 5 + 2 * MaxNesting + 5, 5 + 2 * MaxNesting + 7,
          5 + 2 * MaxNesting + 9}},
        // 10^7 steps 256^10 times: beyond what is counted, said, never wrapped round.
        {huge, {F::BeyondRange}, {0}},
    };
    for (const auto& c : cases) {
        const TListPreview p = PreviewList(c.lines);
        EXPECT_EQ(Kinds(p), c.kinds) << c.lines.mid(0, 12).join(",").toStdString();
        EXPECT_EQ(Lines(p), c.lines_) << c.lines.mid(0, 12).join(",").toStdString();
        for (const TProgram& program : p.programs) {
            EXPECT_GE(program.motion.stepsForward, 0);
            EXPECT_GE(program.motion.moves, 0);
            for (const QPointF& point : program.path)
                EXPECT_GE(point.y(), 0) << "forward only: a position never wraps below 0";
        }
    }
    const TListPreview hugePreview = PreviewList(huge);
    const TMotionEffect& m = hugePreview.programs[0].motion;
    EXPECT_EQ(m.stepsForward, TMotionEffect::Ceiling);
    EXPECT_EQ(m.relativeHigh, TMotionEffect::Ceiling);
}

namespace {

// The controller as a plain interpreter: a program counter, a label, a counter per JP that is
// loaded when the JP is first reached and cleared when its repetitions are done, and a buffer
// recorded by LB and replayed by SB. Slow, but with nothing of the preview's composition.
struct TPlainRun {
    qint64 position = 0, low = 0, high = 0, forward = 0, backward = 0, moves = 0;
    double seconds = 0;
    int direction = 1;
    double speed = ControllerSpeed;

    void Run(const QStringList& lines) {
        int label = -1;
        std::map<int, qint64> counters;
        for (int pc = 0; pc < lines.size(); ++pc) {
            const QString code = lines[pc].left(2);
            const qint64 n = lines[pc].mid(2).toLongLong();
            if (code == "LB") {
                QStringList buffer;
                int depth = 1;
                while (++pc < lines.size()) {
                    depth += lines[pc] == "LB" ? 1 : lines[pc].startsWith("SB") ? -1 : 0;
                    if (depth == 0)
                        break;
                    buffer << lines[pc];
                }
                const qint64 times = lines[pc].mid(2).toLongLong();
                for (qint64 t = 0; t < times; ++t)
                    Run(buffer);
            } else if (code == "LL") {
                label = pc;
            } else if (code == "JP") {
                auto counter = counters.find(pc);
                if (counter == counters.end())
                    counter = counters.emplace(pc, n).first;
                if (counter->second > 0) {
                    --counter->second;
                    pc = label;
                } else {
                    counters.erase(counter);
                }
            } else if (code == "DL" || code == "DR") {
                direction = code == "DL" ? 1 : -1;
            } else if (code == "RS") {
                direction = -direction;
            } else if (code == "SD") {
                speed = double(n);
            } else if (code == "SP") {
                seconds += double(n) / 1000;
            } else if (code == "MV") {
                ++moves;
                (direction > 0 ? forward : backward) += n;
                position += direction * n;
                low = std::min(low, position);
                high = std::max(high, position);
                seconds += double(n) / speed;
            }
        }
    }
};

QStringList RandomProgram(QRandomGenerator& random) {
    QStringList lines;
    bool label = false;
    int buffers = 0;
    const int count = int(random.bounded(4, 24));
    for (int i = 0; i < count; ++i) {
        switch (random.bounded(10)) {
        case 0:
            lines << (random.bounded(2) ? "DL" : "DR");
            break;
        case 1:
            lines << "RS";
            break;
        case 2:
            lines << "SD" + QString::number(random.bounded(1, 500));
            break;
        case 3:
            lines << "SP" + QString::number(random.bounded(1, 100));
            break;
        case 4:
            lines << "LL";
            label = true;
            break;
        case 5:
            if (label)
                lines << "JP" + QString::number(random.bounded(0, 4));
            break;
        case 6:
            if (buffers == 0) {
                lines << "LB";
                ++buffers;
                label = false; // a label outside the buffer is not the buffer's
            } else {
                lines << "SB" + QString::number(random.bounded(1, 4));
                --buffers;
                label = false;
            }
            break;
        default:
            lines << "MV" + QString::number(random.bounded(1, 1000));
            break;
        }
    }
    if (buffers > 0)
        lines << "SB2";
    return lines;
}

} // namespace

TEST(PreviewModel, AgreesWithAPlainRunOfRandomPrograms) {
    QRandomGenerator random(20261207);
    for (int round = 0; round < 500; ++round) {
        const QStringList program = RandomProgram(random);
        TPlainRun plain;
        plain.Run(program);
        const TMotionEffect m = PreviewProgram(program);
        const std::string shown = program.join(' ').toStdString();
        ASSERT_EQ(m.moves, plain.moves) << shown;
        ASSERT_EQ(m.stepsForward, plain.forward) << shown;
        ASSERT_EQ(m.stepsBackward, plain.backward) << shown;
        ASSERT_EQ(m.end, plain.position) << shown;
        ASSERT_EQ(m.relativeLow, plain.low) << shown;
        ASSERT_EQ(m.relativeHigh, plain.high) << shown;
        ASSERT_NEAR(m.seconds, plain.seconds, 1e-9 * std::max(1.0, plain.seconds)) << shown;
    }
}
