# Authenticode signing of the Windows program after it is linked, with Debian's osslsigncode and
# the code-signing certificate that Pki.cmake chose: the shipped program carries a certificate
# table, into which qmtag writes the download tags.
option(QM_SIGN_INSTALLER "Sign QuillmereInstaller.exe after linking (windows build)" ON)

if(WIN32 AND QM_SIGN_INSTALLER)
  find_program(QM_OSSLSIGNCODE osslsigncode REQUIRED)
endif()

# Signs the executable of `target` in place after every link.
function(qm_sign_executable target)
  if(NOT WIN32 OR NOT QM_SIGN_INSTALLER)
    return()
  endif()
  set(pass "")
  if(QM_CODESIGN_PASS_FILE)
    set(pass -readpass ${QM_CODESIGN_PASS_FILE})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${QM_OSSLSIGNCODE} sign -h sha256 -certs ${QM_CODESIGN_CERT_PEM}
            -key ${QM_CODESIGN_KEY_PEM} ${pass} -n "Quillmere Installer"
            -in $<TARGET_FILE:${target}> -out $<TARGET_FILE:${target}>.signed
    COMMAND ${CMAKE_COMMAND} -E rename $<TARGET_FILE:${target}>.signed $<TARGET_FILE:${target}>
    COMMENT "Signing $<TARGET_FILE_NAME:${target}>"
    VERBATIM)
endfunction()
