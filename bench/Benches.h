#pragma once

void RunPortBench(int count);
void RunTransmissionBench(int lineCount);
void RunEditorBench();
