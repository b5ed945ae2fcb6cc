// The failure the table engine raises: conversion errors of field values
// and file-system failures while a table is written. The text names what
// failed, so a caller can pass it on unchanged.
#pragma once

#include <stdexcept>
#include <string>

class TDBFError : public std::runtime_error {
public:
    explicit TDBFError(const std::string& text) : std::runtime_error(text) {}
};
