#pragma once

void RunPortBench(int count);
void RunSendingBench(int lineCount, int rounds);
void RunSessionBench();
void RunFloodBench();
void RunStartupBench();
void RunEditorBench();
void RunCommandLineBench();
void RunNetworkBench(int lineCount, int rounds);
void RunPreviewBench();
void RunJournalBench();
