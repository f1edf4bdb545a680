// The experiments of the lab worksheet, one row of docs/experiments.tsv each, made into this table
// when the program is built: the answers to the dialog that start one, and its titles.
#pragma once

// Numbers as the table writes them, so that the dialog shows them as typed.
struct experiment {
    int number;   // 1, 2, ... in the order of the rows
    char system;  // 'm' Mathieu or 'r' square wave
    const char* beta;
    const char* delta;
    const char* epsilon;
    const char* y0;
    const char* v0;
    const char* title_en;
    const char* title_ja;
};

extern const experiment experiments[];
extern const int experiment_count;
