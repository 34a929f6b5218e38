// The signed and unsigned files the signature tests read, made at build time with the
// development PKI (tests/update/make-signature-fixtures lists them).
#pragma once

#include <string>

// The bytes of the fixture `name` ("pe.signed", "data.foreign", "ca.pem", ...); empty when there
// is none of that name.
std::string signatureFixture(const std::string& name);
