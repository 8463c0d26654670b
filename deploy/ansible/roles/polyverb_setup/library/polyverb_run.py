#!/usr/bin/python
# One run of the installed setup program on the host. What Ansible says comes from the run's
# JSON report, read by its keys, which never depend on the language: changed from the summary,
# a failure with the reasons the run gave, the planned steps as the diff.

import json
import os

from ansible.module_utils.basic import AnsibleModule

PROGRAM = "PolyverbSetup"
# The program's code for a run that completed with at least one failed step.
COMPLETED_WITH_ERRORS = 3


def versions(value):
    """The value of --bin or --register: an empty list is none; a text the user gave ('4,5',
    'none') reaches here already split at its commas and is joined back as it was."""
    return ",".join(str(item) for item in value) if value else "none"


def command_line(params, check_mode):
    argv = [os.path.join(os.path.expanduser(params["dist"]), PROGRAM), "--unattended", "--json"]
    if check_mode:
        argv.append("--dry-run")
    if params["uninstall"]:
        argv.append("--uninstall")
    if params["language"]:
        argv.append("--language=" + params["language"])
    if params["folder"]:
        argv.append("--folder=" + params["folder"])
    if not params["install_folder"]:
        argv.append("--no-folder")
    if not params["windows"]:
        argv.append("--no-windows")
    if params["bin"] is not None:
        argv.append("--bin=" + versions(params["bin"]))
    # An uninstall unregisters the package from every version, and the program refuses a
    # choice of versions with it: a host's register list only matters to its installs.
    if params["register"] is not None and not params["uninstall"]:
        argv.append("--register=" + versions(params["register"]))
    if not params["remember"]:
        argv.append("--no-remember")
    # Check mode changes nothing on the host, and a record appended to the log is a change.
    if params["log"] and not check_mode:
        argv.append("--log=" + os.path.expanduser(params["log"]))
    return argv


def read_report(stdout):
    """The run's steps and its summary (None when it printed none: a refused command line)."""
    steps, summary = [], None
    for line in stdout.splitlines():
        try:
            entry = json.loads(line)
        except ValueError:
            continue
        if not isinstance(entry, dict):
            continue
        if entry.get("type") == "step":
            steps.append(entry)
        elif entry.get("type") == "summary":
            summary = entry
    return steps, summary


def folder_already_gone(rc, steps, summary):
    """Whether the run was an uninstall whose only failures say that the installation folder is
    not there: what it would have removed there is gone already, which is what was asked."""
    failed = [step for step in steps if not step.get("ok")]
    return (
        # The run went to its end (one that ended early exits with 1).
        rc == COMPLETED_WITH_ERRORS
        # The report is whole: no failed step is missing from it.
        and summary is not None
        and summary.get("failed") == len(failed)
        and len(failed) > 0
        and all(
            step.get("kind") == "find-folder" and step.get("error") == "EDirNotFound"
            for step in failed
        )
    )


def failure_reasons(steps, summary, stderr):
    """Why the run failed, each reason once: the summary's, each failed step's (its status line
    where the machine gave no reason), else what the program said on standard error."""
    reasons = []
    if summary is not None and summary.get("reason"):
        reasons.append(summary["reason"])
    for step in steps:
        if not step.get("ok"):
            reasons.append(step.get("reason") or step.get("text") or step.get("kind"))
    if not reasons:
        reasons = [line.strip() for line in stderr.splitlines() if line.strip()]
    return list(dict.fromkeys(str(reason) for reason in reasons))


def planned_changes(steps):
    """One line for each step that changed the machine (in check mode: would change it)."""
    lines = []
    for step in steps:
        if step.get("changed"):
            text = step.get("text")
            if not text:
                text = "%s %s: %s" % (step.get("kind"), step.get("file"), step.get("target"))
            lines.append(text)
    return lines


def main():
    module = AnsibleModule(
        argument_spec=dict(
            dist=dict(type="str", required=True),
            prefix=dict(type="str", default=""),
            uninstall=dict(type="bool", default=False),
            language=dict(type="str", default=""),
            folder=dict(type="str", default=""),
            install_folder=dict(type="bool", default=True),
            windows=dict(type="bool", default=True),
            bin=dict(type="list", elements="str"),
            register=dict(type="list", elements="str"),
            remember=dict(type="bool", default=True),
            log=dict(type="str", default=""),
        ),
        # The dry run changes nothing and foresees the run's steps and failures.
        supports_check_mode=True,
    )
    params = module.params
    # Without a folder the bare program name would be looked for along PATH.
    if not params["dist"]:
        module.fail_json(
            msg="polyverb_dist is empty: it names the distribution folder that holds " + PROGRAM
        )
    argv = command_line(params, module.check_mode)

    environment = {"WINEPREFIX": os.path.expanduser(params["prefix"])} if params["prefix"] else {}
    # Only the host paths' leading ~ is expanded (above): a folder or file name may hold '$'.
    rc, stdout, stderr = module.run_command(
        argv, environ_update=environment, expand_user_and_vars=False
    )
    steps, summary = read_report(stdout)
    # Not "rc": Ansible takes a result with a non-zero rc for a failure, and an uninstall of
    # what is gone already ends with 3 and is none.
    result = dict(exit_code=rc, summary=summary, changed=bool(summary and summary.get("changed")))
    changes = planned_changes(steps)
    if module._diff and changes:
        result["diff"] = dict(prepared="\n".join(changes))
    if rc == 0:
        module.exit_json(**result)
    if folder_already_gone(rc, steps, summary):
        result["msg"] = "The installation folder is not there: nothing to remove from it."
        module.exit_json(**result)
    reasons = failure_reasons(steps, summary, stderr)
    said = "; ".join(reasons) if reasons else "no reason given"
    module.fail_json(msg="%s exited with %d: %s" % (PROGRAM, rc, said), **result)


if __name__ == "__main__":
    main()
