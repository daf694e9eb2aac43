# Writes the vistip(1) man page and the bash completion from the tool's own help:
# `cmake -DVISTIP=<tool> -DVERSION=<v> -DMAN=<file> -DCOMPLETION=<file> -P vistip-man.cmake`.
# Run at build time, so both always match the tool.
execute_process(COMMAND ${VISTIP} --help OUTPUT_VARIABLE main RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${VISTIP} --help failed")
endif()
# Man pages treat a leading dot or apostrophe and backslashes specially.
function(roff_text text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
roff_text("${main}" main_text)
set(page ".TH VISTIP 1 \"\" \"vistip ${VERSION}\" \"User Commands\"\n.SH NAME\n")
string(APPEND page "vistip \\- list, export, import, check, render, show and upgrade help-tip files\n")
string(APPEND page ".SH SYNOPSIS\n.B vistip\n\\fICOMMAND\\fR [\\fIOPTIONS\\fR] \\fIARGS\\fR...\n")
string(APPEND page ".br\n.B vistip\n\\-\\-version\n.SH DESCRIPTION\n.nf\n${main_text}.fi\n")
string(APPEND page ".SH COMMANDS\n")
string(REGEX MATCHALL "\n  ([a-z]+) " commands "${main}")
foreach(line ${commands})
  string(STRIP "${line}" command)
  list(APPEND command_names ${command})
  execute_process(COMMAND ${VISTIP} ${command} --help OUTPUT_VARIABLE help)
  roff_text("${help}" help_text)
  string(APPEND page ".SS ${command}\n.nf\n${help_text}.fi\n")
endforeach()
string(APPEND page ".SH SEE ALSO\nThe host guide, docs/host-guide.md, installed with the sources.\n")
file(WRITE ${MAN} "${page}")

# Completes the command names, then file names (tip files, text forms) after them.
string(REPLACE ";" " " names "${command_names}")
file(WRITE ${COMPLETION} "# bash completion for vistip(1)
_vistip() {
  local cur=\${COMP_WORDS[COMP_CWORD]}
  if [ \"\$COMP_CWORD\" -eq 1 ]; then
    COMPREPLY=(\$(compgen -W \"${names} --help --version\" -- \"\$cur\"))
  elif [[ \"\$cur\" == -* ]]; then
    COMPREPLY=(\$(compgen -W \"--help\" -- \"\$cur\"))
  else
    COMPREPLY=(\$(compgen -f -- \"\$cur\"))
  fi
}
complete -o filenames -F _vistip vistip
")
