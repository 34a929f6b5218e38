# Authenticode signing of the Windows program after it is linked, with Debian's osslsigncode and
# the code-signing certificate that Pki.cmake chose: the shipped program carries a certificate
# table, into which qmtag writes the download tags.
option(QM_SIGN_INSTALLER "Sign QuillmereInstaller.exe after linking (windows build)" ON)

if(WIN32)
  find_program(QM_OSSLSIGNCODE osslsigncode REQUIRED)
endif()

# Adds the Authenticode signing of the executable of `target`, in place after every link, with
# the program description `description`.
function(qm_authenticode_sign target description)
  set(pass "")
  if(QM_CODESIGN_PASS_FILE)
    set(pass -readpass ${QM_CODESIGN_PASS_FILE})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${QM_OSSLSIGNCODE} sign -h sha256 -certs ${QM_CODESIGN_CERT_PEM}
            -key ${QM_CODESIGN_KEY_PEM} ${pass} -n "${description}"
            -in $<TARGET_FILE:${target}> -out $<TARGET_FILE:${target}>.signed
    COMMAND ${CMAKE_COMMAND} -E rename $<TARGET_FILE:${target}>.signed $<TARGET_FILE:${target}>
    COMMENT "Signing $<TARGET_FILE_NAME:${target}>"
    VERBATIM)
endfunction()

# Signs the executable of `target` in place after every link.
function(qm_sign_executable target)
  if(NOT WIN32 OR NOT QM_SIGN_INSTALLER)
    return()
  endif()
  qm_authenticode_sign(${target} "Quillmere Installer")
endfunction()

# Signs the client setup program built by `target` in place after every link, as the installer
# verifies it (update/SetupSignature.h): Authenticode on Windows, an appended detached CMS
# signature on POSIX (tools/pki/sign-appended). Needs the build's code-signing certificate.
function(qm_sign_setup_program target description)
  if(NOT QM_CODESIGN_CERT_PEM OR NOT QM_CODESIGN_KEY_PEM)
    message(WARNING "No code-signing certificate: ${target} stays unsigned, and the installer will refuse it")
    return()
  endif()
  if(WIN32)
    qm_authenticode_sign(${target} "${description}")
  else()
    set(pass "")
    if(QM_CODESIGN_PASS_FILE)
      set(pass --pass-file ${QM_CODESIGN_PASS_FILE})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pki/sign-appended
              --openssl ${QM_OPENSSL} --cert ${QM_CODESIGN_CERT_PEM} --key ${QM_CODESIGN_KEY_PEM}
              ${pass} --in $<TARGET_FILE:${target}> --out $<TARGET_FILE:${target}>
      COMMENT "Signing $<TARGET_FILE_NAME:${target}> (appended CMS signature)"
      VERBATIM)
  endif()
endfunction()
