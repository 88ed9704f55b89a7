#include "support/HostileFiles.h"

#include "file/CircuitReader.h"
#include "file/ReadLosses.h"
#include "model/Model.h"

#include <gtest/gtest.h>

namespace flow::test {

namespace {

const char* const kHead = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          "<Flowlattice>\r\n"
                          "  <Window X=\"0\" Y=\"0\" Width=\"800\" Height=\"600\"/>\r\n"
                          "  <Camera X=\"0\" Y=\"0\" Magnification=\"1\"/>\r\n";

std::string NodeText(int id, const std::string& function, int x, int y,
                     const std::string& rest = "") {
    return "    <Node ID=\"" + std::to_string(id) + "\" Function=\"" + function + "\" X=\"" +
           std::to_string(x) + "\" Y=\"" + std::to_string(y) + "\"" + rest + "/>\r\n";
}

std::string WireText(int source, int out, int destination, int in) {
    return "    <Wire Source=\"" + std::to_string(source) + "/" + std::to_string(out) +
           "\" Destination=\"" + std::to_string(destination) + "/" + std::to_string(in) +
           "\"/>\r\n";
}

std::string PinText(int id, bool input, int x, int y, const std::string& name) {
    return NodeText(id, input ? "Input Pin" : "Output Pin", x, y, " Name=\"" + name + "\"");
}

std::string ConstantText(int id, int x, int y, int value) {
    return "    <Node ID=\"" + std::to_string(id) + "\" Function=\"Constant\" X=\"" +
           std::to_string(x) + "\" Y=\"" + std::to_string(y) + "\">\r\n      <Integer Value=\"" +
           std::to_string(value) + "\"/>\r\n    </Node>\r\n";
}

} // namespace

Circuit& ReadWhole(const std::string& text) {
    Circuit& circuit = NewCircuit();
    ReadLosses losses;
    ReadCircuitText(circuit, text, losses);
    EXPECT_FALSE(losses.Any()) << DescribeLosses(QStringLiteral("text"), losses).toStdString();
    return circuit;
}

std::string PassThroughChainText(int levels, int inSeries) {
    std::string text = kHead;
    text += "  <MainFrame>\r\n";
    text += ConstantText(1, -100, 0, 7);
    const std::string top = "Pass " + std::to_string(levels);
    for (int i = 0; i < inSeries; ++i)
        text += NodeText(2 + i, top, 100 * i, 0);
    text += NodeText(2 + inSeries, "Print", 100 * inSeries, 0);
    text += WireText(1, 1, 2, 1);
    for (int i = 0; i < inSeries; ++i)
        text += WireText(2 + i, 2, 3 + i, 1);
    text += "  </MainFrame>\r\n";
    for (int level = 1; level <= levels; ++level) {
        text += "  <Frame Name=\"Pass " + std::to_string(level) + "\">\r\n";
        text += PinText(1, true, -100, 0, "in");
        text += PinText(2, false, 100, 0, "out");
        if (level == 1) {
            text += WireText(1, 1, 2, 1);
        } else {
            text += NodeText(3, "Pass " + std::to_string(level - 1), 0, 0);
            text += WireText(1, 1, 3, 1);
            text += WireText(3, 2, 2, 1);
        }
        text += "  </Frame>\r\n";
    }
    return text + "</Flowlattice>\r\n";
}

std::string ManyFramesText(int frames) {
    std::string text = kHead;
    text += "  <MainFrame>\r\n  </MainFrame>\r\n";
    for (int frame = 1; frame <= frames; ++frame) {
        text += "  <Frame Name=\"Frame " + std::to_string(frame) + "\">\r\n";
        text += "    <Comment X=\"0\" Y=\"-40\" Text=\"frame " + std::to_string(frame) + "\"/>\r\n";
        text += PinText(1, true, -100, 0, "x");
        text += NodeText(2, "Plus", 0, 0);
        text += PinText(3, false, 100, 0, "x + x");
        text += WireText(1, 1, 2, 1);
        text += WireText(1, 1, 2, 2);
        text += WireText(2, 3, 3, 1);
        text += "  </Frame>\r\n";
    }
    return text + "</Flowlattice>\r\n";
}

std::string ManyPinsText(int pins) {
    std::string text = kHead;
    text += "  <MainFrame>\r\n";
    text += ConstantText(1, -200, 0, 7);
    text += NodeText(2, "Wide", 0, 0);
    text += NodeText(3, "Print", 200, 0);
    for (int pin = 1; pin <= pins; ++pin)
        text += WireText(1, 1, 2, pin);
    text += WireText(2, pins + 1, 3, 1);
    text += "  </MainFrame>\r\n  <Frame Name=\"Wide\">\r\n";
    for (int pin = 0; pin < pins; ++pin) {
        const std::string name = "p" + std::to_string(pin);
        text += PinText(1 + 2 * pin, true, -100, 20 * pin, name);
        text += PinText(2 + 2 * pin, false, 100, 20 * pin, name);
    }
    for (int pin = 0; pin < pins; ++pin)
        text += WireText(1 + 2 * pin, 1, 2 + 2 * pin, 1);
    text += "  </Frame>\r\n";
    return text + "</Flowlattice>\r\n";
}

} // namespace flow::test
