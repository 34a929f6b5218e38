# The installer's TLS client credentials as sources of the build: tools/pki/make-credential-sources
# scrambles the three PEM files (Pki.cmake chooses them) into the "TEXT" resources (Windows) or
# compiled-in bytes (POSIX), and turns the pass phrase of the client key into the two constants
# the program assembles it from. K, the RC4 key and the pass phrase are build inputs; the defaults
# belong to the development PKI, a release build sets the maker's.
set(QM_CREDENTIALS_SCRAMBLE_KEY "91" CACHE STRING
    "K of the resource scrambling s[i] = (t[i] - i + K) mod 256, 0 to 255")
set(QM_CREDENTIALS_RC4_KEY "QuillmereDevKey!" CACHE STRING
    "The 16-character RC4 key that hides the pass phrase in the program")
set(QM_CREDENTIALS_PASS_PHRASE "dev-pass-phrase!" CACHE STRING
    "The 16-character pass phrase of the client key (the development PKI is encrypted with it)")

foreach(variable QM_CREDENTIALS_RC4_KEY QM_CREDENTIALS_PASS_PHRASE)
  string(LENGTH "${${variable}}" length)
  if(NOT length EQUAL 16 OR NOT "${${variable}}" MATCHES "^[ -~]+$")
    message(FATAL_ERROR "${variable} must be 16 printable ASCII characters")
  endif()
endforeach()
if(NOT QM_CREDENTIALS_SCRAMBLE_KEY MATCHES "^[0-9]+$" OR QM_CREDENTIALS_SCRAMBLE_KEY GREATER 255)
  message(FATAL_ERROR "QM_CREDENTIALS_SCRAMBLE_KEY must be a number from 0 to 255")
endif()

# The files: the development PKI or the maker's.
include(Pki)

find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(QM_CREDENTIALS_GENERATED_DIR ${CMAKE_BINARY_DIR}/credentials)
set(QM_CREDENTIAL_CONSTANTS_SOURCE ${QM_CREDENTIALS_GENERATED_DIR}/CredentialConstants.cpp)
set(QM_TEXT_RESOURCES_SOURCE ${QM_CREDENTIALS_GENERATED_DIR}/TextResources_posix.cpp)
set(QM_CREDENTIAL_FIXTURES_SOURCE ${QM_CREDENTIALS_GENERATED_DIR}/CredentialFixtures.cpp)
set(QM_TEXT_RESOURCE_FILES ${QM_CREDENTIALS_GENERATED_DIR}/ID_DATA_1.bin
    ${QM_CREDENTIALS_GENERATED_DIR}/ID_DATA_2.bin ${QM_CREDENTIALS_GENERATED_DIR}/ID_DATA_3.bin)

# Further scrambled PEM files for the tests, from the development PKI.
set(fixture_arguments "")
set(fixture_files "")
if(QM_DEV_PKI_DIR)
  list(APPEND fixture_files ${QM_DEV_PKI_DIR}/inputs.txt)
  foreach(fixture "ID_DATA_2.other=other-pass.key.pem" "ID_DATA_1.foreign=foreign-server.crt.pem"
                  "ID_DATA_1.weak=weak-client.crt.pem")
    string(REPLACE "=" ";" parts "${fixture}")
    list(GET parts 0 name)
    list(GET parts 1 file)
    list(APPEND fixture_arguments --fixture "${name}=${QM_DEV_PKI_DIR}/${file}")
    list(APPEND fixture_files ${QM_DEV_PKI_DIR}/${file})
  endforeach()
endif()

set(generator ${CMAKE_SOURCE_DIR}/tools/pki/make-credential-sources)
add_custom_command(
  OUTPUT ${QM_CREDENTIAL_CONSTANTS_SOURCE} ${QM_TEXT_RESOURCES_SOURCE}
         ${QM_CREDENTIAL_FIXTURES_SOURCE} ${QM_TEXT_RESOURCE_FILES}
  COMMAND ${Python3_EXECUTABLE} ${generator} --openssl ${QM_OPENSSL}
          --scramble-key ${QM_CREDENTIALS_SCRAMBLE_KEY} --rc4-key ${QM_CREDENTIALS_RC4_KEY}
          --pass-phrase ${QM_CREDENTIALS_PASS_PHRASE} --client-cert ${QM_CLIENT_CERT_PEM}
          --client-key ${QM_CLIENT_KEY_PEM} --ca-cert ${QM_CA_CERT_PEM} ${fixture_arguments}
          --out-dir ${QM_CREDENTIALS_GENERATED_DIR}
  DEPENDS ${generator} ${QM_CLIENT_CERT_PEM} ${QM_CLIENT_KEY_PEM} ${QM_CA_CERT_PEM}
          ${fixture_files}
  COMMENT "Scrambling the client credentials into the program's resources"
  VERBATIM)
# Targets in other folders that use these files depend on this one.
add_custom_target(qm_credentials DEPENDS ${QM_CREDENTIAL_CONSTANTS_SOURCE}
                  ${QM_TEXT_RESOURCES_SOURCE} ${QM_CREDENTIAL_FIXTURES_SOURCE}
                  ${QM_TEXT_RESOURCE_FILES})
