#pragma once

#include <QByteArray>

// A BOM as KiCad exports it grouped by value: every field quoted, the
// references of a group in one field.
inline const QByteArray BomKicad =
    "\"Refs\",\"Value\",\"Footprint\",\"Qty\",\"MPN\"\r\n"
    "\"R1,R2,R5\",\"10k\",\"Resistor_SMD:R_0805_2012Metric\",\"3\",\"\"\r\n"
    "\"C1,C2\",\"100nF\",\"Capacitor_SMD:C_0805_2012Metric\",\"2\",\"GRM21BR71H104KA01\"\r\n"
    "\"U1\",\"ne555\",\"Package_DIP:DIP-8_W7.62mm\",\"1\",\"\"\r\n"
    "\"Q1,Q2\",\"BC547\",\"Package_TO_SOT_THT:TO-92_Inline\",\"2\",\"\"\r\n"
    "\"U2\",\"LM7805\",\"Package_TO_SOT_THT:TO-220-3_Vertical\",\"1\",\"l7805cv\"\r\n"
    "\"U3\",\"TL072\",\"Package_DIP:DIP-8_W7.62mm\",\"1\",\"TL072CP\"\r\n"
    "\"D1\",\"1N4148\",\"Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal\",\"1\",\"\"\r\n";
